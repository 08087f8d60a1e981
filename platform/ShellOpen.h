#pragma once

#include <string>

namespace platform {

// Opens a file or address with the desktop's default handler (xdg-open) and
// returns without waiting for it. False when the handler could not be started.
bool OpenWithDesktop(const std::wstring& target);

} // namespace platform
