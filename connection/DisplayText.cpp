#include <clocale>
#include <cstdio>
#include <ctime>
#include <locale.h>

#include "connection/Utilities.h"

std::wstring FormatSizeText(std::int64_t size) {
    if (size <= 0) {
        return {};
    }
    char text[64];
    if (size < 1024) {
        std::snprintf(text, sizeof text, "%lld B", static_cast<long long>(size));
    } else if (size < 1048576) {
        std::snprintf(text, sizeof text, "%.2f Kb", static_cast<double>(size) / 1024.0);
    } else {
        std::snprintf(text, sizeof text, "%.2f Mb", static_cast<double>(size) / 1048576.0);
    }
    return std::wstring(text, text + std::char_traits<char>::length(text));
}

std::wstring FormatTimeText(std::int64_t secondsSince1970) {
    std::time_t t = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (!::localtime_r(&t, &local)) {
        return {};
    }
    // The C locale's form whatever locale the toolkit has set for the process.
    static locale_t cLocale = ::newlocale(LC_ALL_MASK, "C", nullptr);
    char text[128];
    std::size_t length = ::strftime_l(text, sizeof text, "%x %X", &local, cLocale);
    return std::wstring(text, text + length);
}

std::int64_t TimeFromFileTime(const platform::FILETIME& time) {
    std::time_t t = static_cast<std::time_t>(platform::UnixFromFileTime(time));
    std::tm local{};
    if (!::localtime_r(&t, &local) || local.tm_year + 1900 < 1900) {
        return 0;
    }
    local.tm_isdst = -1;
    std::time_t back = std::mktime(&local);
    return back == static_cast<std::time_t>(-1) ? 0 : static_cast<std::int64_t>(back);
}
