#pragma once
// Posting to windows from any thread. A window that wants notifications from
// the core registers an IWindowTarget; posts never wait for the receiver.

#include <cstdint>
#include <string>

namespace platform {

class IWindowTarget {
public:
    // Queues the message for the window's thread and returns at once.
    virtual void PostMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;

protected:
    ~IWindowTarget() = default;
};

// A status bar that takes pane texts from any thread. Each post carries its own
// copy of the text, so a later post can never change an earlier queued one.
class IStatusBarTarget {
public:
    // Queues the text for the pane and returns at once.
    virtual void PostPaneText(int pane, std::wstring text) = 0;

protected:
    ~IStatusBarTarget() = default;
};

// Posts to a target that may be absent (nullptr): a post to no window is dropped.
void PostToWindow(IWindowTarget* target, unsigned message, std::uintptr_t wParam = 0,
                  std::intptr_t lParam = 0);

} // namespace platform
