// The long listing style of UNIX systems ("ls -l"), with the three date
// styles servers send: "Jan  1 12:00", "Jan  1  1996" and, from servers that
// list with ISO times, "2012-02-07 00:31".

#include "Common/ListingParser.h"

namespace nsFTP {
namespace {

std::int64_t LeadingNumber(std::wstring_view text) {
    std::int64_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 18 && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

// "YYYY-MM-DD"
bool ParseIsoDate(std::wstring_view field, int& year, int& month, int& day) {
    std::int64_t y, m, d;
    if (field.size() != 10 || field[4] != L'-' || field[7] != L'-' ||
        !ParseDecimal(field.substr(0, 4), y) || !ParseDecimal(field.substr(5, 2), m) ||
        !ParseDecimal(field.substr(8, 2), d)) {
        return false;
    }
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

// "H:MM" or "HH:MM"
bool ParseTimeOfDay(std::wstring_view field, int& hour, int& minute) {
    std::size_t colon = field.size() == 4 ? 1 : field.size() == 5 ? 2 : std::wstring_view::npos;
    if (colon == std::wstring_view::npos || field[colon] != L':') {
        return false;
    }
    hour = static_cast<int>(LeadingNumber(field.substr(0, colon)));
    minute = static_cast<int>(LeadingNumber(field.substr(colon + 1, 2)));
    return true;
}

} // namespace

bool ParseUnixLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext& context) {
    switch (line.empty() ? L'\0' : line[0]) {
    case L'-':
        entry.tryRetr = true;
        break;
    case L'd':
        entry.tryCwd = true;
        break;
    case L'l':
        entry.tryCwd = entry.tryRetr = true;
        break;
    case L'b':
    case L'c':
    case L'p':
    case L's':
        break;
    default:
        return false;
    }

    enum State { Attributes, LinkCount, Owner, Group, SizeOrMonth, Day, TimeOrYear, IsoTime };
    State state = Attributes;
    std::int64_t size = -1;
    int year = context.currentYear, month = 0, day = 0, hour = 0, minute = 0;

    std::size_t pos = 0;
    while (pos < line.size()) {
        std::size_t end = line.find(L' ', pos);
        if (end == std::wstring_view::npos) {
            end = line.size();
        }
        std::wstring_view field = line.substr(pos, end - pos);
        bool nameFollows = false;
        switch (state) {
        case Attributes:
            entry.attributes.assign(field);
            state = LinkCount;
            break;
        case LinkCount:
            entry.linkCount.assign(field);
            state = field.size() == 6 && field[0] == L'f' ? Group : Owner;
            break;
        case Owner:
            entry.owner.assign(field);
            state = Group;
            break;
        case Group:
            if (!ParseDecimal(field, size)) {
                size = -1;
                entry.group.assign(field);
            }
            state = SizeOrMonth;
            break;
        case SizeOrMonth:
            if (field.size() == 3 && (month = LookupMonth(field.data())) > 0) {
                state = Day;
            } else if (ParseIsoDate(field, year, month, day)) {
                state = IsoTime;
            } else if (!ParseDecimal(field, size)) {
                size = -1;
            }
            break;
        case Day:
            day = static_cast<int>(LeadingNumber(field));
            state = TimeOrYear;
            break;
        case TimeOrYear:
            if (!ParseTimeOfDay(field, hour, minute)) {
                if (field.size() < 4) {
                    return false;
                }
                year = static_cast<int>(LeadingNumber(field));
                hour = minute = 0;
            }
            nameFollows = true;
            break;
        case IsoTime:
            if (!ParseTimeOfDay(field, hour, minute)) {
                return false;
            }
            nameFollows = true;
            break;
        }
        if (nameFollows) {
            if (end >= line.size()) {
                return false;
            }
            if (!LocalTimeToSeconds(year, month, day, hour, minute, entry.modificationTime)) {
                return false;
            }
            entry.name.assign(line.substr(end + 1));
            entry.sizeKnown = 1;
            entry.size = size;
            if ((line[1] == L' ' || line[1] == L'[') && entry.name.size() >= 4 &&
                entry.name.compare(0, 3, L"   ") == 0) {
                entry.name.erase(0, 3);
            }
            return true;
        }
        pos = line.find_first_not_of(L' ', end);
        if (pos == std::wstring_view::npos) {
            break;
        }
    }
    return false;
}

} // namespace nsFTP
