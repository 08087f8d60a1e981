#include "Common/WireText.h"

namespace nsFTP {

bool EncodeWireText(std::wstring_view text, WireEncoding, std::string& out) {
    out.clear();
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (static_cast<unsigned long>(c) > 0xFF) {
            return false;
        }
        out.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    }
    return true;
}

std::wstring DecodeWireText(std::string_view bytes, WireEncoding encoding) {
    std::wstring text;
    AppendWireText(text, bytes, encoding);
    return text;
}

void AppendWireText(std::wstring& text, std::string_view bytes, WireEncoding) {
    text.reserve(text.size() + bytes.size());
    for (char c : bytes) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
}

} // namespace nsFTP
