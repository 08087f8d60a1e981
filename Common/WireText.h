#pragma once
// The one conversion between program text and the bytes on the control and
// data connections. Commands, replies and listings all go through here.

#include <string>
#include <string_view>

namespace nsFTP {

enum class WireEncoding {
    Latin1, // each character 0-255 is one byte (the protocol's classic 8-bit text)
};

// Encodes text for the wire. False when a character cannot be represented;
// out is then unspecified.
bool EncodeWireText(std::wstring_view text, WireEncoding encoding, std::string& out);

// Decodes received bytes; never fails.
std::wstring DecodeWireText(std::string_view bytes, WireEncoding encoding);

// Appends decoded bytes to text (listings grow block by block).
void AppendWireText(std::wstring& text, std::string_view bytes, WireEncoding encoding);

} // namespace nsFTP
