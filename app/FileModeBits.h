#pragma once
// The CHMOD picker's arithmetic: each box is one bit, each hexadecimal digit
// holds one octal permission digit.

#include <string>

enum FileModeBit : unsigned {
    OwnerRead = 0x400,
    OwnerWrite = 0x200,
    OwnerExecute = 0x100,
    GroupRead = 0x40,
    GroupWrite = 0x20,
    GroupExecute = 0x10,
    PublicRead = 0x4,
    PublicWrite = 0x2,
    PublicExecute = 0x1,
};

// "%.3X" of the bits: 644, 777, 000.
std::wstring ModeText(unsigned bits);
