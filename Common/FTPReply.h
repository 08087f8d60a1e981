#pragma once

#include <string>

namespace nsFTP {

// 0 for a 2xx reply, 1 for 4xx or 5xx, -1 for anything else or a transport failure.
using CommandResult = int;

// One server reply: all its lines joined with CR LF, and its three-digit code
// (all zero when the reply had no valid code).
struct FTPReply {
    std::wstring text;
    wchar_t code[4] = {};

    void Clear() {
        text.clear();
        code[0] = code[1] = code[2] = code[3] = L'\0';
    }
    // The first digit of the code, or 0 when there is none.
    wchar_t Class() const { return code[0]; }
};

} // namespace nsFTP
