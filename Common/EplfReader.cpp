// Easily Parsed LIST Format: "+" facts separated by "," then a TAB and the name.

#include "Common/ListingParser.h"

namespace nsFTP {

bool ParseEplfLine(std::wstring_view line, CFTPFileStatus& entry, const ListingContext&) {
    if (line.empty() || line[0] != L'+') {
        return false;
    }
    std::size_t factStart = 1;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == L'\t') {
            entry.name.assign(line.substr(i + 1));
            return true;
        }
        if (line[i] != L',') {
            continue;
        }
        std::wstring_view fact = line.substr(factStart, i - factStart);
        factStart = i + 1;
        if (fact.empty()) {
            continue;
        }
        std::wstring_view value = fact.substr(1);
        std::int64_t number = 0;
        switch (fact[0]) {
        case L'/':
            entry.tryCwd = true;
            break;
        case L'r':
            entry.tryRetr = true;
            break;
        case L's':
            entry.sizeKnown = 1;
            entry.size = ParseDecimal(value, number) ? number : 0;
            break;
        case L'm':
            // Seconds since 1970 as a 32-bit value, the format's own limit.
            ParseDecimal(value, number);
            entry.modificationTime = static_cast<std::int32_t>(static_cast<std::uint32_t>(number));
            break;
        case L'i':
            entry.idKnown = 1;
            entry.id.assign(value);
            break;
        default:
            break;
        }
    }
    return false;
}

} // namespace nsFTP
