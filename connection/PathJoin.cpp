#include "connection/Utilities.h"

namespace {

std::wstring Join(const std::wstring& a, const std::wstring& b, wchar_t separator) {
    if (!a.empty() && (a.back() == L'/' || a.back() == L'\\')) {
        return a + b;
    }
    return a + separator + b;
}

} // namespace

std::wstring JoinRemotePath(const std::wstring& a, const std::wstring& b) {
    return Join(a, b, L'/');
}

std::wstring JoinLocalPath(const std::wstring& a, const std::wstring& b) {
    return Join(a, b, L'/');
}
