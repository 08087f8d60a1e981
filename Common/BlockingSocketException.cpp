#include "Common/BlockingSocketException.h"

#include <cerrno>

namespace nsSocket {

CBlockingSocketException::CBlockingSocketException(std::wstring message)
    : CBlockingSocketException(std::move(message), errno) {}

CBlockingSocketException::CBlockingSocketException(std::wstring message, int errorCode)
    : message(std::move(message)), errorCode(errorCode) {}

std::wstring CBlockingSocketException::GetErrorText() {
    std::wstring text;
    FormatErrorText(text);
    return text;
}

bool CBlockingSocketException::FormatErrorText(std::wstring& text) {
    text = message + L"\n\nError code: " + std::to_wstring(errorCode);
    return true;
}

} // namespace nsSocket
