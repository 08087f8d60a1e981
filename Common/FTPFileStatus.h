#pragma once

#include <cstdint>
#include <string>

namespace nsFTP {

// One entry of a remote directory listing.
struct CFTPFileStatus {
    // For a UNIX-style link the whole rest of the line, " -> " and target included.
    std::wstring name;
    // The directory that was listed.
    std::wstring path;
    bool tryCwd = false;
    bool tryRetr = false;
    int sizeKnown = 0;
    // -1 when a UNIX-style line had no numeric size.
    std::int64_t size = 0;
    // Seconds since 1970-01-01 UTC; 0 when the format gave none.
    std::int64_t modificationTime = 0;
    std::wstring attributes;
    std::wstring owner;
    std::wstring group;
    std::wstring linkCount;
    int idKnown = 0;
    std::wstring id;

    // Empties every field (strings keep their storage for the next line).
    void Reset() {
        name.clear();
        path.clear();
        tryCwd = tryRetr = false;
        sizeKnown = 0;
        size = 0;
        modificationTime = 0;
        attributes.clear();
        owner.clear();
        group.clear();
        linkCount.clear();
        idKnown = 0;
        id.clear();
    }
};

} // namespace nsFTP
