#include "browser/ViewRules.h"

#include <cwctype>

#include "connection/Utilities.h"
#include "platform/TextCodec.h"

namespace {

} // namespace

int CommandOfWxId(int id) {
    static const int commands[] = {
        CmdConnect,    CmdDisconnect, CmdNewDirectory, CmdDelete,  CmdRename,
        CmdProperties, CmdChmod,      CmdIcons,        CmdWebSite, CmdSetTempDirectory,
        CmdMove,       CmdOverview,   CmdManual,       CmdList,    CmdDetails,
        CmdCopy,       CmdFind,       CmdPaste,        CmdAbout,   CmdExit,
        CmdUp,         CmdGo};
    for (int command : commands) {
        if (WxId(command) == id) {
            return command;
        }
    }
    return id;
}

FolderBoxContent FolderBoxItems(const std::wstring& working, const std::wstring& logonDirectory) {
    FolderBoxContent box;
    for (std::size_t p = working.find(L'/'); p != std::wstring::npos;
         p = working.find(L'/', p + 1)) {
        box.items.push_back(p == 0 ? L"/" : working.substr(0, p));
    }
    if (working != L"/") {
        box.items.push_back(working);
    }
    bool logonShown = false;
    for (const std::wstring& item : box.items) {
        logonShown = logonShown || platform::StartsWithNoCase(item, logonDirectory);
    }
    if (!logonShown && !logonDirectory.empty()) {
        box.items.insert(box.items.begin(), logonDirectory);
    }
    // Like the box's own prefix search: from the second item on, then the first.
    const std::size_t n = box.items.size();
    for (std::size_t k = 0; k < n && box.selected < 0; ++k) {
        std::size_t i = (k + 1) % n;
        if (platform::StartsWithNoCase(box.items[i], working)) {
            box.selected = static_cast<int>(i);
        }
    }
    return box;
}

ListingCounts CountListing(const std::vector<ListingEntry>& entries) {
    ListingCounts counts;
    for (const ListingEntry& entry : entries) {
        if (!entry.isLink) {
            ++(entry.isDirectory ? counts.directories : counts.files);
        }
        if (entry.size > 0) {
            counts.bytes += entry.size;
        }
    }
    return counts;
}

std::wstring DirectoriesText(int count) {
    return L"Directories: " + std::to_wstring(count);
}

std::wstring FilesText(int count) {
    return L"Files: " + std::to_wstring(count);
}

std::wstring BytesText(std::int64_t bytes) {
    return std::to_wstring(bytes) + L" bytes";
}

bool IsCommandEnabled(int command, const ViewState& s) {
    switch (command) {
    case CmdConnect:
        return !s.connected;
    case CmdDisconnect:
    case CmdNewDirectory:
    case CmdFind:
        return s.connected;
    case CmdRename:
    case CmdProperties:
        return s.connected && s.selectedRows == 1;
    case CmdDelete:
    case CmdCopy:
    case CmdChmod:
    case CmdMove:
        return s.connected && s.selectedRows >= 1;
    case CmdPaste:
        return s.connected && s.clipboardHasFiles;
    default:
        return true;
    }
}

bool IsCommandChecked(int command, const ViewState& s) {
    switch (command) {
    case CmdIcons:
        return s.listMode == ModeIcons;
    case CmdList:
        return s.listMode == ModeList;
    case CmdDetails:
        return s.listMode == ModeReport;
    default:
        return false;
    }
}

std::vector<ContextMenuItem> BuildContextMenu(const ViewState& s, bool remote) {
    const bool all = !(remote && !s.connected);
    const bool some = s.selectedRows > 0;
    const bool one = s.selectedRows == 1;
    std::vector<ContextMenuItem> menu;
    menu.push_back({1, L"Copy", CmdCopy, all && some, false});
    if (s.clipboardHasFiles) {
        menu.push_back({2, L"Paste", CmdPaste, all, false});
    }
    menu.push_back({0, L"", 0, true, false});
    menu.push_back({3, L"New Directory...", CmdNewDirectory, all, false});
    menu.push_back({4, L"Rename", CmdRename, all && one, false});
    menu.push_back({5, L"Delete", CmdDelete, all && some, false});
    menu.push_back({0, L"", 0, true, false});
    if (remote) {
        menu.push_back({6, L"CHMOD...", CmdChmod, all && some, false});
    }
    menu.push_back({7, L"Properties", CmdProperties, all && one, false});
    menu.push_back({0, L"", 0, true, false});
    menu.push_back({-1, L"View", 0, true, false});
    menu.push_back({8, L"Icons", CmdIcons, all, true});
    menu.push_back({9, L"List", CmdList, all, true});
    menu.push_back({10, L"Details", CmdDetails, all, true});
    return menu;
}
