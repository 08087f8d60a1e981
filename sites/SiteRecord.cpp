#include "sites/SiteRecord.h"

#include <bit>
#include <cstring>

#include "platform/TextCodec.h"

static_assert(sizeof(SiteRecord) == SiteRecordSize, "the stored record is 1208 bytes");
static_assert(offsetof(SiteRecord, port) == 384);
static_assert(offsetof(SiteRecord, userName) == 392);
static_assert(offsetof(SiteRecord, anonymous) == 776);
static_assert(offsetof(SiteRecord, reservedText) == 792);
static_assert(offsetof(SiteRecord, timeoutSeconds) == 988);
static_assert(offsetof(SiteRecord, initialDirectory) == 992);
static_assert(offsetof(SiteRecord, keepAlive) == 1184);
static_assert(offsetof(SiteRecord, groupId) == 1192);
static_assert(offsetof(SiteRecord, reserved7) == 1204);
// The record's bytes are its memory image: that needs a little-endian host.
static_assert(std::endian::native == std::endian::little);

SiteRecord::SiteRecord() {
    std::memset(static_cast<void*>(this), 0, sizeof *this);
    port = 21;
    passiveMode = 1;
    reserved2 = 1;
    timeoutSeconds = 10;
    keepAlive = 1;
    groupId = -1;
    parentGroupId = -1;
    reserved6 = 0;
}

SiteRecord SiteRecord::Zeroed() {
    SiteRecord record;
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    return record;
}

std::vector<std::uint8_t> SiteRecord::ToBytes() const {
    std::vector<std::uint8_t> bytes(SiteRecordSize);
    std::memcpy(bytes.data(), static_cast<const void*>(this), SiteRecordSize);
    return bytes;
}

SiteRecord SiteRecord::FromBytes(const std::uint8_t* data, std::size_t size) {
    SiteRecord record;
    std::memcpy(static_cast<void*>(&record), data, size < SiteRecordSize ? size : SiteRecordSize);
    return record;
}

std::wstring GetText(const TextField& field) {
    std::size_t length = 0;
    while (length < field.size() && field[length] != u'\0') {
        ++length;
    }
    return platform::FromUtf16(std::u16string_view(field.data(), length));
}

std::size_t Utf16Length(const std::wstring& text) {
    return platform::ToUtf16(text).size();
}

bool SetText(TextField& field, const std::wstring& text) {
    std::u16string units = platform::ToUtf16(text);
    bool whole = units.size() <= MaxTextUnits;
    std::size_t count = whole ? units.size() : MaxTextUnits;
    // Never leave half of a surrogate pair behind.
    if (!whole && count > 0 && units[count - 1] >= 0xD800 && units[count - 1] <= 0xDBFF) {
        --count;
    }
    std::copy(units.begin(), units.begin() + static_cast<std::ptrdiff_t>(count), field.begin());
    field[count] = u'\0';
    return whole;
}

void MaskSiteBytes(std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        data[i] ^= SiteMask;
    }
}
