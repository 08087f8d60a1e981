#pragma once
// One saved site: a fixed 1208-byte little-endian record, stored masked in
// the settings store. Text fields hold at most 95 UTF-16 units and a
// terminator; fields nobody interprets are carried through unchanged.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr std::size_t SiteRecordSize = 1208;
inline constexpr std::size_t TextFieldUnits = 96;
// The most UTF-16 units a text field holds (one is kept for the terminator).
inline constexpr std::size_t MaxTextUnits = TextFieldUnits - 1;
inline constexpr std::uint8_t SiteMask = 0x5D;

using TextField = std::array<char16_t, TextFieldUnits>;

struct SiteRecord {
    TextField label;
    TextField host;
    std::int32_t port;
    std::int32_t passiveMode;
    TextField userName;
    TextField password;
    std::int32_t anonymous;
    std::int32_t reserved1;
    std::int32_t reserved2;
    std::int32_t reserved3;
    TextField reservedText;
    std::int32_t reserved4;
    std::int32_t timeoutSeconds;
    TextField initialDirectory;
    std::int32_t keepAlive;
    std::int32_t reserved5;
    std::int32_t groupId;
    std::int32_t parentGroupId;
    std::int32_t reserved6;
    std::int32_t reserved7;

    // All bytes zero, then the defaults: port 21, passive mode on, reserved2
    // 1, time-out 10 s, keep-alive on, no group, no parent.
    SiteRecord();
    // A record with every byte zero, the defaults not applied.
    static SiteRecord Zeroed();

    bool IsGroup() const { return groupId >= 0; }

    // The record's exact bytes, and a record from up to 1208 bytes laid over
    // the defaults (a shorter value keeps the defaults of its missing tail).
    std::vector<std::uint8_t> ToBytes() const;
    static SiteRecord FromBytes(const std::uint8_t* data, std::size_t size);
};

// The text of a field, up to its terminator.
std::wstring GetText(const TextField& field);
// Writes the text and one terminator, leaving the rest of the array as it
// was. Text longer than 95 UTF-16 units is cut at a character boundary;
// returns false when it had to be cut.
bool SetText(TextField& field, const std::wstring& text);
// The number of UTF-16 units the text needs.
std::size_t Utf16Length(const std::wstring& text);

// XORs every byte with the site mask; the same call masks and unmasks.
void MaskSiteBytes(std::uint8_t* data, std::size_t size);
