#pragma once
// The wait cursor for long operations on the user-interface thread. The GUI
// installs an indicator; without one nothing is shown.

namespace platform {

class IBusyIndicator {
public:
    virtual void BeginBusy() = 0;
    virtual void EndBusy() = 0;

protected:
    ~IBusyIndicator() = default;
};

void SetBusyIndicator(IBusyIndicator* indicator);

// Shows the wait cursor for its lifetime.
class CBusyCursor {
public:
    CBusyCursor();
    ~CBusyCursor();
    CBusyCursor(const CBusyCursor&) = delete;
    CBusyCursor& operator=(const CBusyCursor&) = delete;

private:
    IBusyIndicator* indicator;
};

} // namespace platform
