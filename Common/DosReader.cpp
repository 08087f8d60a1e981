// DOS-style lines as Windows servers send them:
//   "02-05-13  09:37AM       <DIR>          folder"
//   "09-13-10  13:08         <DIR>          Program Files"   (24-hour clock)
//   "2002-09-02  19:06             9,730 name"              (year first, grouped digits)

#include "Common/ListingParser.h"

namespace nsFTP {
namespace {

std::wstring_view NextToken(std::wstring_view line, std::size_t& pos) {
    std::size_t start = pos;
    while (pos < line.size() && line[pos] != L' ') {
        ++pos;
    }
    return line.substr(start, pos - start);
}

bool SkipSpaces(std::wstring_view line, std::size_t& pos) {
    while (pos < line.size() && line[pos] == L' ') {
        ++pos;
    }
    return pos < line.size();
}

// "MM-DD-YY", "MM-DD-YYYY" or "YYYY-MM-DD".
bool ParseDate(std::wstring_view text, int& year, int& month, int& day) {
    std::int64_t parts[3];
    std::size_t lengths[3];
    std::size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        std::size_t end = i < 2 ? text.find(L'-', start) : text.size();
        if (end == std::wstring_view::npos ||
            !ParseDecimal(text.substr(start, end - start), parts[i])) {
            return false;
        }
        lengths[i] = end - start;
        start = end + 1;
    }
    std::int64_t y;
    if (lengths[0] == 4) {
        y = parts[0];
        month = static_cast<int>(parts[1]);
        day = static_cast<int>(parts[2]);
    } else {
        month = static_cast<int>(parts[0]);
        day = static_cast<int>(parts[1]);
        y = parts[2];
    }
    if (y < 50) {
        y += 2000;
    }
    if (y < 1000) {
        y += 1900;
    }
    year = static_cast<int>(y);
    return true;
}

// "HH:MM" on a 24-hour clock, or "HH:MMAM" / "HH:MMPM" on a 12-hour clock.
bool ParseTime(std::wstring_view text, int& hour, int& minute) {
    std::size_t colon = text.find(L':');
    std::int64_t h, m;
    if (colon == std::wstring_view::npos || colon == 0 || text.size() < colon + 3 ||
        !ParseDecimal(text.substr(0, colon), h) || !ParseDecimal(text.substr(colon + 1, 2), m)) {
        return false;
    }
    std::wstring_view marker = text.substr(colon + 3);
    hour = static_cast<int>(h);
    minute = static_cast<int>(m);
    if (marker.empty()) {
        return true;
    }
    if (marker != L"AM" && marker != L"PM" && marker != L"A" && marker != L"P") {
        return false;
    }
    if (hour == 12) {
        hour = 0;
    }
    if (marker[0] == L'P') {
        hour += 12;
    }
    return true;
}

// A size, possibly written with thousands separators ("9,730", "1.234.567").
bool ParseGroupedSize(std::wstring_view text, std::int64_t& size) {
    if (ParseDecimal(text, size)) {
        return true;
    }
    std::wstring digits;
    std::size_t groupLength = 0;
    bool grouped = false;
    for (wchar_t c : text) {
        if (c == L',' || c == L'.') {
            if (groupLength == 0 || (grouped && groupLength != 3)) {
                return false;
            }
            grouped = true;
            groupLength = 0;
        } else {
            digits.push_back(c);
            ++groupLength;
        }
    }
    return grouped && groupLength == 3 && ParseDecimal(digits, size);
}

} // namespace

bool ParseDosLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext&) {
    if (line.empty() || line[0] < L'0' || line[0] > L'9') {
        return false;
    }
    std::size_t pos = 0;
    int year, month, day, hour, minute;
    if (!ParseDate(NextToken(line, pos), year, month, day) || !SkipSpaces(line, pos)) {
        return false;
    }
    if (!ParseTime(NextToken(line, pos), hour, minute) || !SkipSpaces(line, pos)) {
        return false;
    }
    if (line[pos] == L'<') {
        entry.tryCwd = true;
        NextToken(line, pos);
    } else {
        std::int64_t size = 0;
        entry.size = ParseGroupedSize(NextToken(line, pos), size) ? size : 0;
        entry.sizeKnown = 1;
        entry.tryRetr = true;
    }
    if (!SkipSpaces(line, pos)) {
        return false;
    }
    if (!LocalTimeToSeconds(year, month, day, hour, minute, entry.modificationTime)) {
        return false;
    }
    entry.name.assign(line.substr(pos));
    return true;
}

} // namespace nsFTP
