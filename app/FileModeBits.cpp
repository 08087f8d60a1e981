#include "app/FileModeBits.h"

#include <cstdio>

std::wstring ModeText(unsigned bits) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3X", bits);
    return std::wstring(text, text + std::char_traits<char>::length(text));
}
