// VMS-style lines: "NAME.EXT;1  size  29-JAN-1996 03:33:12  [owner]  (perms)".

#include "Common/ListingParser.h"

namespace nsFTP {
namespace {

int LeadingInt(std::wstring_view text) {
    int value = 0;
    for (std::size_t i = 0; i < text.size() && i < 9 && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
    }
    return value;
}

} // namespace

bool ParseVmsLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext&) {
    std::size_t semicolon = line.find(L';');
    if (semicolon == std::wstring_view::npos) {
        return false;
    }
    std::wstring_view name = line.substr(0, semicolon);
    if (name.size() >= 5 && name.substr(name.size() - 4) == L".DIR") {
        name.remove_suffix(4);
        entry.tryCwd = true;
    } else {
        entry.tryRetr = true;
    }

    const std::size_t n = line.size();
    std::size_t p = semicolon;
    auto skipTo = [&](wchar_t c) {
        while (p < n && line[p] != c) {
            ++p;
        }
        return p < n;
    };
    auto skipAll = [&](wchar_t c) {
        while (p < n && line[p] == c) {
            ++p;
        }
        return p < n;
    };
    auto takeUntil = [&](auto stop) {
        std::size_t start = p;
        while (p < n && !stop(line[p])) {
            ++p;
        }
        return line.substr(start, p - start);
    };

    // The version, then the size field, then the date.
    if (!skipTo(L' ') || !skipAll(L' ') || !skipTo(L' ') || !skipAll(L' ')) {
        return false;
    }
    std::wstring_view dayText = takeUntil([](wchar_t c) { return c == L'-'; });
    if (!skipAll(L'-')) {
        return false;
    }
    std::wstring_view monthText = takeUntil([](wchar_t c) { return c == L'-'; });
    if (p >= n || monthText.size() != 3) {
        return false;
    }
    int month = LookupMonth(std::wstring(monthText).c_str());
    if (month < 0 || !skipAll(L'-')) {
        return false;
    }
    std::wstring_view yearText = takeUntil([](wchar_t c) { return c == L' '; });
    if (!skipAll(L' ')) {
        return false;
    }
    std::wstring_view hourText = takeUntil([](wchar_t c) { return c == L':'; });
    if (!skipAll(L':')) {
        return false;
    }
    std::wstring_view minuteText = takeUntil([](wchar_t c) { return c == L':' || c == L' '; });

    if (!LocalTimeToSeconds(LeadingInt(yearText), month, LeadingInt(dayText), LeadingInt(hourText),
                            LeadingInt(minuteText), entry.modificationTime)) {
        return false;
    }
    entry.name.assign(name);
    return true;
}

} // namespace nsFTP
