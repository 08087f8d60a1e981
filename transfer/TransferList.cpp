#include "transfer/TransferList.h"

#include "connection/ServerConnection.h"
#include "connection/Utilities.h"
#include "transfer/LocalDirectory.h"

bool IsSafeLocalName(const std::wstring& name) {
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(std::wstring(L"/\0", 2)) == std::wstring::npos;
}

bool IsSafeRelativePath(const std::wstring& path) {
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = path.find(L'/', start);
        if (!IsSafeLocalName(path.substr(start, slash - start))) {
            return false;
        }
        if (slash == std::wstring::npos) {
            return true;
        }
        start = slash + 1;
    }
}

TransferList::TransferList(CServerConnection* owner) : connection(owner) {}

void TransferList::AddItem(std::int64_t size, std::int32_t isDirectory,
                           const std::wstring& targetPath, const std::wstring& sourcePath,
                           platform::FILETIME modified) {
    TransferItem& item = items.emplace_back();
    item.isDirectory = isDirectory;
    item.size = size;
    item.modified = modified;
    item.targetPath = targetPath;
    item.sourcePath = sourcePath;
    item.fileIndex = fileCount;
    item.itemIndex = itemCount;
    if (isDirectory == 0) {
        ++fileCount;
    }
    ++itemCount;
    if (size > 0) {
        totalSize += size;
    }
}

void TransferList::ClearItems() {
    items.clear();
    totalSize = 0;
    fileCount = 0;
    itemCount = 0;
    cursor = 0;
}

TransferItem* TransferList::FirstItem(bool filesOnly) {
    cursor = 0;
    while (filesOnly && cursor < items.size() && items[cursor].isDirectory != 0) {
        ++cursor;
    }
    return cursor < items.size() ? &items[cursor] : nullptr;
}

TransferItem* TransferList::NextItem(bool filesOnly) {
    if (cursor < items.size()) {
        ++cursor;
    }
    while (filesOnly && cursor < items.size() && items[cursor].isDirectory != 0) {
        ++cursor;
    }
    return cursor < items.size() ? &items[cursor] : nullptr;
}

template <typename ListChildren> void TransferList::Expand(ListChildren listChildren) {
    // Children are appended at the end, so walking forward once expands the
    // tree level by level. A directory that cannot be listed is tried once:
    // asking again would only show the same error again.
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].isDirectory == 0 || items[i].expanded) {
            continue;
        }
        const std::wstring target = items[i].targetPath;
        const std::wstring source = items[i].sourcePath;
        if (listChildren(target, source)) {
            items[i].expanded = 1;
        }
    }
}

void TransferList::ExpandRemoteDirectories() {
    if (!connection) {
        return;
    }
    Expand([this](const std::wstring& target, const std::wstring& source) {
        std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> entries;
        if (!connection->ListDirectory(source, entries)) {
            return false;
        }
        for (const auto& status : entries) {
            if (status->name == L"." || status->name == L"..") {
                continue;
            }
            ListingEntry entry = MakeListingEntry(*status);
            if (!IsSafeLocalName(entry.name)) {
                rejectedNames.push_back(JoinRemotePath(source, entry.name));
                continue;
            }
            AddItem(entry.size, entry.isDirectory, JoinRemotePath(target, entry.name),
                    JoinRemotePath(source, entry.name), entry.modified);
        }
        return true;
    });
}

void TransferList::ExpandLocalDirectories() {
    Expand([this](const std::wstring& target, const std::wstring& source) {
        std::vector<LocalEntry> entries;
        if (!ReadLocalDirectory(source, entries)) {
            return false;
        }
        for (const LocalEntry& entry : entries) {
            AddItem(entry.size, entry.isDirectory ? LocalDirectoryAttribute : 0,
                    JoinRemotePath(target, entry.name), JoinLocalPath(source, entry.name),
                    entry.modified);
        }
        return true;
    });
}
