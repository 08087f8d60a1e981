#pragma once
// Conversions between the program's text (std::wstring, one code point per
// character) and the encodings it stores: UTF-8 in files, UTF-16 in records.

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring FromUtf8(std::string_view bytes);

std::u16string ToUtf16(std::wstring_view text);
// Unpaired surrogates become U+FFFD.
std::wstring FromUtf16(std::u16string_view units);

// Case-insensitive comparison of names (simple case folding per character).
bool EqualNoCase(std::wstring_view a, std::wstring_view b);
// True when text begins with prefix, compared the same way.
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);

} // namespace platform
