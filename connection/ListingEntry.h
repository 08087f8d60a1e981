#pragma once

#include <cstdint>
#include <string>

#include "Common/FTPFileStatus.h"
#include "platform/FileTime.h"

// One remote directory entry as the list, the operations and the search use it.
struct ListingEntry {
    std::int32_t isDirectory = 0;
    // 1 when the attributes begin with "l".
    std::int32_t isLink = 0;
    // Bytes as listed; UnknownSize (-1) when the listing gave none.
    std::int64_t size = 0;
    // The UTC instant of the listed time; zero when the listing gave none.
    platform::FILETIME modified;
    // The directory that was listed.
    std::wstring directory;
    // For a link, the part before " -> ".
    std::wstring name;
    // The name as listed, with a link's arrow and target.
    std::wstring listedName;
    std::wstring attributes;
    std::wstring owner;
};

// The entry for one parsed listing line.
ListingEntry MakeListingEntry(const nsFTP::CFTPFileStatus& status);

// Directories first, then names without regard to case (A-Z only).
bool CompareListingEntries(const ListingEntry& a, const ListingEntry& b);
