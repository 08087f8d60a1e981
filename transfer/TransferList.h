#pragma once
// The unit of work of the transfer jobs: the items the user chose, expanded
// in place into whole trees in breadth-first order, each with its source
// path and its path relative to the job's target folder.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/FileTime.h"

class CServerConnection;

struct TransferItem {
    // Non-zero for a directory (1 from a listing, 0x10 from a local folder).
    std::int32_t isDirectory = 0;
    // Bytes; UnknownSize (-1) when the listing gave none.
    std::int64_t size = 0;
    // UTC FILETIME.
    platform::FILETIME modified;
    // Relative to the target folder, joined with "/".
    std::wstring targetPath;
    // Where the item is now (remote or local).
    std::wstring sourcePath;
    // The number of files before this item.
    std::int32_t fileIndex = 0;
    // The item's position.
    std::int32_t itemIndex = 0;
    std::int32_t expanded = 0;
};

inline constexpr std::int32_t LocalDirectoryAttribute = 0x10;

class TransferList {
public:
    // connection lists remote directories; may be null for local lists.
    explicit TransferList(CServerConnection* connection);
    TransferList(const TransferList&) = delete;
    TransferList& operator=(const TransferList&) = delete;

    void AddItem(std::int64_t size, std::int32_t isDirectory, const std::wstring& targetPath,
                 const std::wstring& sourcePath, platform::FILETIME modified);
    void ClearItems();
    // The first item (or first file); starts the cursor afresh.
    TransferItem* FirstItem(bool filesOnly);
    TransferItem* NextItem(bool filesOnly);

    // Appends the contents of every unexpanded remote directory item, breadth
    // first. Listed names that cannot be local file names ("", ".", "..", or
    // holding "/" or NUL) are left out and collected in rejectedNames.
    void ExpandRemoteDirectories();
    // The same for local directory items.
    void ExpandLocalDirectories();

    CServerConnection* const connection;
    // Sum of the known sizes of all items added.
    std::int64_t totalSize = 0;
    std::int32_t fileCount = 0;
    std::int32_t itemCount = 0;
    std::vector<std::wstring> rejectedNames;

    const std::deque<TransferItem>& Items() const { return items; }

private:
    template <typename ListChildren> void Expand(ListChildren listChildren);

    std::deque<TransferItem> items; // references stay valid as items are appended
    std::size_t cursor = 0;
};

// True when a name listed by a server can become part of a local path.
bool IsSafeLocalName(const std::wstring& name);
// True when every "/"-separated part of a relative path is a safe name.
bool IsSafeRelativePath(const std::wstring& path);
