#pragma once
// The wx side of the core's user-interface services: message boxes shown on
// the main thread for any caller, and the status bar fed from any thread.

#include <wx/statusbr.h>
#include <wx/weakref.h>

#include "platform/MessageService.h"
#include "platform/WindowTarget.h"

// Shows message boxes on the main thread. A worker thread's request is handed
// to the main thread and the worker waits for the answer.
class CWxMessageService final : public platform::IMessageService {
public:
    int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override;
};

// The status bar as a target of posted pane texts. Lives as long as the
// application; the frame attaches its status bar once it exists.
class CWxStatusBarTarget final : public platform::IStatusBarTarget {
public:
    // Main thread only.
    void Attach(wxStatusBar* bar) { statusBar = bar; }
    void PostPaneText(int pane, std::wstring text) override;

private:
    wxWeakRef<wxStatusBar> statusBar; // touched on the main thread only
};

// Shows one box now; main thread only.
int ShowMessageBoxNow(const std::wstring& text, const std::wstring& caption, unsigned flags);
