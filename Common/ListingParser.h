#pragma once
// Turns one line of a LIST reply into a CFTPFileStatus. The format (EPLF,
// UNIX, VMS, DOS) is chosen by the line's first character; lines that fit no
// format are rejected without a message.

#include <cstdint>
#include <string_view>

#include "Common/FTPFileStatus.h"

namespace nsFTP {

// What every line of one listing shares: the current year, for UNIX-style
// lines that show a time of day instead of a year.
struct ListingContext {
    int currentYear = 1970;
};

bool ParseListLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context);

bool ParseEplfLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context);
bool ParseUnixLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context);
bool ParseVmsLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context);
bool ParseDosLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context);

// 1 to 12 for the three-letter month name (any case), or -1.
int LookupMonth(const wchar_t* name);

// The value of the leading decimal digits; true only when all count
// characters are digits (and there is at least one).
bool ParseDecimal(const wchar_t* text, std::size_t count, std::int64_t& value);
bool ParseDecimal(std::wstring_view text, std::int64_t& value);

// The calendar year (UTC) of an instant given in seconds since 1970.
int CurrentYearUtc(std::int64_t secondsSince1970);

// The listed local date and time as seconds since 1970 UTC (seconds 0, the
// platform decides daylight saving). False for a date outside the usual
// ranges (year 1900 on, month 1-12, day 1-31, hour 0-23, minute 0-59).
bool LocalTimeToSeconds(int year, int month, int day, int hour, int minute, std::int64_t& seconds);

} // namespace nsFTP
