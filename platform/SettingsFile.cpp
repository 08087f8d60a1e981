#include "platform/SettingsFile.h"

#include <cstdio>

#include "platform/TextCodec.h"

namespace platform {
namespace {

const char* const Header = "Windows Registry Editor Version 5.00";
const char* const Root = "HKEY_CURRENT_USER\\";

std::string QuoteName(const std::wstring& name) {
    std::string quoted = "\"";
    for (char c : ToUtf8(name)) {
        if (c == '"' || c == '\\') {
            quoted.push_back('\\');
        }
        quoted.push_back(c);
    }
    return quoted + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// Reads a quoted name at the start of line; returns the index after the
// closing quote, or npos.
std::size_t ReadName(const std::string& line, std::wstring& name) {
    if (line.empty() || line[0] != '"') {
        return std::string::npos;
    }
    std::string raw;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            raw.push_back(line[++i]);
        } else if (line[i] == '"') {
            name = FromUtf8(raw);
            return i + 1;
        } else {
            raw.push_back(line[i]);
        }
    }
    return std::string::npos;
}

bool ParseHexBytes(const std::string& text, std::vector<std::uint8_t>& data) {
    data.clear();
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i == text.size()) {
            break;
        }
        if (i + 1 >= text.size() || HexDigit(text[i]) < 0 || HexDigit(text[i + 1]) < 0) {
            return false;
        }
        data.push_back(static_cast<std::uint8_t>(HexDigit(text[i]) * 16 + HexDigit(text[i + 1])));
        i += 2;
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
            ++i;
        }
        if (i < text.size()) {
            if (text[i] != ',') {
                return false;
            }
            ++i;
        }
    }
    return true;
}

} // namespace

bool IsStorableName(const std::wstring& name) {
    return name.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos;
}

std::string FormatSettingsFile(const std::vector<SettingsKey>& keys) {
    std::string text = std::string(Header) + "\n";
    for (const SettingsKey& key : keys) {
        text += "\n[" + std::string(Root) + ToUtf8(key.path) + "]\n";
        for (const SettingsValue& value : key.values) {
            text += QuoteName(value.name) + "=";
            if (value.type == ValueType::Dword && value.data.size() == 4) {
                char digits[16];
                std::uint32_t v = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                                  static_cast<std::uint32_t>(value.data[3]) << 24;
                std::snprintf(digits, sizeof digits, "dword:%08x", v);
                text += digits;
            } else {
                text += "hex:";
                // Long values wrap like a registry export does.
                for (std::size_t i = 0; i < value.data.size(); ++i) {
                    char digits[4];
                    std::snprintf(digits, sizeof digits, "%02x", value.data[i]);
                    text += digits;
                    if (i + 1 < value.data.size()) {
                        text += (i + 1) % 25 == 0 ? ",\\\n  " : ",";
                    }
                }
            }
            text += "\n";
        }
    }
    return text;
}

bool ParseSettingsFile(const std::string& text, std::vector<SettingsKey>& keys,
                       std::string& error) {
    keys.clear();
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    bool headerSeen = false;
    SettingsKey* current = nullptr;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        const std::size_t lineNumber = n + 1;
        if (n == 0 && line.compare(0, 3, "\xEF\xBB\xBF") == 0) {
            line.erase(0, 3);
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        auto fail = [&](const char* why) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        };
        if (!headerSeen) {
            if (line != Header) {
                return fail("not a settings file (the first line is not the export header)");
            }
            headerSeen = true;
            continue;
        }
        if (line[0] == '[') {
            if (line.back() != ']' || line.compare(1, std::string(Root).size(), Root) != 0) {
                return fail("a key outside HKEY_CURRENT_USER, or a broken key line");
            }
            std::string path = line.substr(1 + std::string(Root).size());
            path.pop_back();
            keys.push_back({FromUtf8(path), {}});
            current = &keys.back();
            continue;
        }
        if (!current) {
            return fail("a value before any key");
        }
        SettingsValue value;
        std::size_t after = ReadName(line, value.name);
        if (after == std::string::npos || after >= line.size() || line[after] != '=') {
            return fail("a broken value line");
        }
        std::string data = line.substr(after + 1);
        if (data.compare(0, 4, "hex:") == 0) {
            std::string hex = data.substr(4);
            while (!hex.empty() && hex.back() == '\\') {
                hex.pop_back();
                if (++n >= lines.size()) {
                    return fail("a continued value at the end of the file");
                }
                hex += lines[n];
                if (!hex.empty() && hex.back() == '\r') {
                    hex.pop_back();
                }
            }
            value.type = ValueType::Binary;
            if (!ParseHexBytes(hex, value.data)) {
                return fail("broken hex data");
            }
        } else if (data.compare(0, 6, "dword:") == 0 && data.size() == 14) {
            std::uint32_t v = 0;
            for (std::size_t i = 6; i < 14; ++i) {
                int digit = HexDigit(data[i]);
                if (digit < 0) {
                    return fail("broken dword data");
                }
                v = v << 4 | static_cast<std::uint32_t>(digit);
            }
            value.type = ValueType::Dword;
            value.data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                          static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
        } else {
            return fail("a value type other than hex or dword");
        }
        current->values.push_back(std::move(value));
    }
    // A file with nothing in it (not even the header) is an empty store.
    return true;
}

} // namespace platform
