#pragma once
// Reading a local folder: name, kind, size and last-write time per entry.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/FileTime.h"

struct LocalEntry {
    std::wstring name;
    bool isDirectory = false;
    std::int64_t size = 0;
    // The last-write time as a UTC FILETIME.
    platform::FILETIME modified;
};

// The entries of a folder other than "." and "..", in the order the system
// gives them. Links to files count as the files; links to folders are left
// out, so a tree walk cannot run in a loop. False when the folder cannot be
// read.
bool ReadLocalDirectory(const std::wstring& path, std::vector<LocalEntry>& entries);

// One local file's entry (for the replace question); false when it cannot be read.
bool ReadLocalEntry(const std::wstring& path, LocalEntry& entry);
