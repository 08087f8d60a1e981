#pragma once

#include <string>

namespace nsFTP {

// The directory named by a PWD (257) reply text, code included. RFC 959
// quotes the path in double quotes, with an embedded quote doubled; replies
// without a double-quoted path fall back to the first word, stripped of
// quotes. Empty when the text names no directory.
std::wstring ParseDirectoryReply(const std::wstring& replyText);

} // namespace nsFTP
