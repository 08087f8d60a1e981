#include "Common/DirectoryReply.h"

namespace nsFTP {
namespace {

bool IsQuoteOrSpace(wchar_t c) {
    return c == L' ' || c == L'\'' || c == L'"';
}

} // namespace

std::wstring ParseDirectoryReply(const std::wstring& replyText) {
    if (replyText.size() <= 4) {
        return {};
    }
    std::wstring rest = replyText.substr(4);
    std::size_t lineEnd = rest.find_first_of(L"\r\n");
    if (lineEnd != std::wstring::npos) {
        rest.resize(lineEnd);
    }

    std::size_t open = rest.find(L'"');
    if (open != std::wstring::npos) {
        std::wstring path;
        for (std::size_t i = open + 1; i < rest.size(); ++i) {
            if (rest[i] != L'"') {
                path.push_back(rest[i]);
            } else if (i + 1 < rest.size() && rest[i + 1] == L'"') {
                path.push_back(L'"');
                ++i;
            } else {
                return path;
            }
        }
        // No closing quote: not RFC 959's form, read it the simple way.
    }

    std::size_t start = 0;
    while (start < rest.size() && IsQuoteOrSpace(rest[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < rest.size() && !IsQuoteOrSpace(rest[end])) {
        ++end;
    }
    return rest.substr(start, end - start);
}

} // namespace nsFTP
