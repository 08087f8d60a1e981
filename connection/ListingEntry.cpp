#include "connection/ListingEntry.h"

#include <algorithm>

#include "connection/Utilities.h"

ListingEntry MakeListingEntry(const nsFTP::CFTPFileStatus& status) {
    ListingEntry entry;
    entry.isDirectory = status.tryCwd ? 1 : 0;
    entry.isLink = !status.attributes.empty() && status.attributes[0] == L'l' ? 1 : 0;
    entry.listedName = status.name;
    entry.name = status.name;
    if (entry.isLink) {
        std::size_t arrow = status.name.find(L" -> ");
        if (arrow != std::wstring::npos) {
            entry.name.resize(arrow);
        }
    }
    // A listing that gives no size (VMS, EPLF without "s", DOS folders) must not
    // look like an empty file: the download would then refuse the real bytes.
    entry.size = status.sizeKnown == 0 || status.size < 0 ? UnknownSize : status.size;
    if (status.modificationTime != 0) {
        entry.modified = platform::FileTimeFromUnix(status.modificationTime);
    }
    entry.directory = status.path;
    entry.attributes = status.attributes;
    entry.owner = status.owner;
    return entry;
}

bool CompareListingEntries(const ListingEntry& a, const ListingEntry& b) {
    if (a.isDirectory != b.isDirectory) {
        return a.isDirectory > b.isDirectory;
    }
    auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [&](wchar_t x, wchar_t y) { return fold(x) < fold(y); });
}
