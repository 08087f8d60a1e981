#pragma once
// The status bar's text channel: any thread may post a pane text; the caller
// never waits for the user-interface thread.

#include <string>
#include <string_view>

namespace platform {
class IStatusBarTarget;
}

// Records the status bar that receives the texts (nullptr: none).
void SetStatusBarWindow(platform::IStatusBarTarget* statusBar);

// Stores the text as the pane's latest text and posts a copy of it to the
// status bar. Pane indexes outside 0-9 are ignored.
void PostStatusText(int index, std::wstring_view text);

// The latest text stored for the pane (empty when none or out of range).
std::wstring StatusSlotText(int index);
