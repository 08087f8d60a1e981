#include "Common/TransferNotification.h"

namespace nsFTP {

void COutputStream::ConsumeBytes(const std::vector<char>& buffer, long count) {
    AppendWireText(text, std::string_view(buffer.data(), static_cast<std::size_t>(count)),
                   encoding);
}

bool COutputStream::TakeLine(std::wstring& line) {
    if (readPosition >= text.size()) {
        return false;
    }
    std::size_t lf = text.find(L'\n', readPosition);
    std::size_t end = lf == std::wstring::npos ? text.size() : lf;
    std::size_t next = lf == std::wstring::npos ? text.size() : lf + 1;
    if (end > readPosition && text[end - 1] == L'\r') {
        --end;
    }
    line.assign(text, readPosition, end - readPosition);
    readPosition = next;
    return true;
}

} // namespace nsFTP
