#include "Common/ListingParser.h"

#include <cctype>
#include <climits>
#include <ctime>
#include <cwctype>

namespace nsFTP {

bool ParseListLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context) {
    entry.Reset();
    if (line.size() < 2) {
        return false;
    }
    switch (line[0]) {
    case L'+':
        return ParseEplfLine(line, entry, context);
    case L'-':
    case L'b':
    case L'c':
    case L'd':
    case L'l':
    case L'p':
    case L's':
        return ParseUnixLine(line, entry, context);
    default:
        break;
    }
    if (line.find(L';') != std::wstring_view::npos) {
        return ParseVmsLine(line, entry, context);
    }
    if (std::iswdigit(line[0])) {
        return ParseDosLine(line, entry, context);
    }
    return false;
}

int LookupMonth(const wchar_t* name) {
    static const wchar_t* const months[] = {L"jan", L"feb", L"mar", L"apr", L"may", L"jun",
                                            L"jul", L"aug", L"sep", L"oct", L"nov", L"dec"};
    wchar_t lower[3];
    for (int i = 0; i < 3; ++i) {
        wchar_t c = name[i];
        if (!((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'))) {
            return -1; // month names are ASCII letters only
        }
        lower[i] = c | 0x20;
    }
    for (int m = 0; m < 12; ++m) {
        if (lower[0] == months[m][0] && lower[1] == months[m][1] && lower[2] == months[m][2]) {
            return m + 1;
        }
    }
    return -1;
}

bool ParseDecimal(const wchar_t* text, std::size_t count, std::int64_t& value) {
    value = 0;
    std::size_t used = 0;
    // 18 digits always fit; longer numbers are not sizes or dates anyone lists.
    while (used < count && used < 18 && text[used] >= L'0' && text[used] <= L'9') {
        value = value * 10 + (text[used] - L'0');
        ++used;
    }
    return used == count && count > 0;
}

bool ParseDecimal(std::wstring_view text, std::int64_t& value) {
    return ParseDecimal(text.data(), text.size(), value);
}

int CurrentYearUtc(std::int64_t secondsSince1970) {
    std::int64_t days = secondsSince1970 / 86400;
    if (secondsSince1970 % 86400 < 0) {
        --days; // round towards minus infinity
    }
    // Civil year from a day count (proleptic Gregorian, eras of 400 years).
    std::int64_t z = days + 719468;
    std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    std::int64_t dayOfEra = z - era * 146097;
    std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    std::int64_t monthPart = (5 * dayOfYear + 2) / 153;
    std::int64_t month = monthPart < 10 ? monthPart + 3 : monthPart - 9;
    return static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t year, unsigned month, unsigned day) {
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const unsigned yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

// The platform's local-time conversion is slow (it consults the time zone on
// every call), and a listing has many entries per hour: remember the UTC
// offset of each local hour seen.
std::int64_t LocalHourToUtc(int year, int month, int day, int hour, std::int64_t localHour,
                            bool& ok) {
    struct Slot {
        std::int64_t localHour = INT64_MIN;
        std::int64_t utc = 0;
    };
    thread_local Slot slots[1024];
    Slot& slot = slots[static_cast<std::uint64_t>(localHour) % 1024];
    if (slot.localHour == localHour) {
        ok = true;
        return slot.utc;
    }
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_isdst = -1;
    std::time_t converted = std::mktime(&local);
    ok = converted != static_cast<std::time_t>(-1);
    if (ok) {
        slot = {localHour, static_cast<std::int64_t>(converted)};
    }
    return converted;
}

} // namespace

bool LocalTimeToSeconds(int year, int month, int day, int hour, int minute, std::int64_t& seconds) {
    if (year < 1900 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 ||
        hour > 23 || minute < 0 || minute > 59) {
        return false;
    }
    const std::int64_t localHour =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 24 + hour;
    bool ok = false;
    const std::int64_t hourStart = LocalHourToUtc(year, month, day, hour, localHour, ok);
    if (!ok) {
        return false;
    }
    seconds = hourStart + minute * 60;
    return true;
}

} // namespace nsFTP
