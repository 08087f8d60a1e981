#pragma once
// Message boxes for code that has no window of its own: the engine's error
// boxes and the jobs' questions. The GUI installs a service that shows real
// dialogs on the main thread; tests install recorders. Callable from any thread.

#include <string>

namespace platform {

// Button and icon flags, with the values callers and stored layouts expect.
enum MessageFlags : unsigned {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
    MbTopMost = 0x40000,
};

// Results of a message box.
enum MessageResult : int {
    IdOk = 1,
    IdCancel = 2,
    IdYes = 6,
    IdNo = 7,
};

class IMessageService {
public:
    // Shows the box and returns the button chosen; blocks the calling thread
    // until the user has answered.
    virtual int ShowMessage(const std::wstring& text, const std::wstring& caption,
                            unsigned flags) = 0;

protected:
    ~IMessageService() = default;
};

// Installs the process-wide service (nullptr restores the stderr fallback).
// The service must outlive every thread that may still show a message.
void SetMessageService(IMessageService* service);

// Shows a message through the installed service. Without one the text goes to
// stderr and the box counts as answered with OK.
int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags);

// The caption every box of the program carries.
inline const std::wstring& ProgramCaption() {
    static const std::wstring caption = L"Pellix FTP";
    return caption;
}

} // namespace platform
