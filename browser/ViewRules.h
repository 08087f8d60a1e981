#pragma once
// The view's rules that need no window: the folder box items, the pane
// texts of a listing, the enable rules of the commands and the context menu.

#include <cstdint>
#include <string>
#include <vector>

#include "connection/ListingEntry.h"

// Command ids of the main window, its toolbar, the list and its menu.
enum CommandId : int {
    CmdConnect = 32771,
    CmdDisconnect = 32772,
    CmdNewDirectory = 32776,
    CmdDelete = 32777,
    CmdRename = 32778,
    CmdProperties = 32779,
    CmdChmod = 32781,
    CmdIcons = 32787,
    CmdWebSite = 32803,
    CmdSetTempDirectory = 32806,
    CmdMove = 32808,
    CmdOverview = 32809,
    CmdManual = 32810,
    CmdList = 59410,
    CmdDetails = 59411,
    CmdCopy = 57634,
    CmdFind = 57636,
    CmdPaste = 57637,
    CmdAbout = 57664,
    CmdExit = 57665,
    CmdUp = 1001,
    CmdGo = 1003,
};

// The toolkit takes window and menu ids below 32767 only: commands travel
// as their low 15 bits there and are turned back on arrival.
inline constexpr int WxId(int command) {
    return command & 0x7FFF;
}
// The command of a toolkit id (the id itself when no command has it).
int CommandOfWxId(int id);

// List display modes as stored in "View".
enum ListMode : int { ModeIcons = 0, ModeReport = 1, ModeSmallIcons = 2, ModeList = 3 };

struct FolderBoxContent {
    std::vector<std::wstring> items;
    int selected = -1;
};

// The working directory's ancestors, itself, and the logon directory (put
// first when no item begins with it); the item beginning with the working
// directory is selected.
FolderBoxContent FolderBoxItems(const std::wstring& working, const std::wstring& logonDirectory);

struct ListingCounts {
    int directories = 0;
    int files = 0;
    std::int64_t bytes = 0;
};
// Links count as neither directories nor files; unknown sizes add nothing.
ListingCounts CountListing(const std::vector<ListingEntry>& entries);
std::wstring DirectoriesText(int count);
std::wstring FilesText(int count);
std::wstring BytesText(std::int64_t bytes);

struct ViewState {
    bool connected = false;
    int selectedRows = 0;
    bool clipboardHasFiles = false;
    int listMode = ModeReport;
};

// Whether a menu or toolbar command is enabled.
bool IsCommandEnabled(int command, const ViewState& state);
// Whether a View command carries the radio mark.
bool IsCommandChecked(int command, const ViewState& state);

struct ContextMenuItem {
    int itemId; // 1 to 10; 0 for a separator, -1 for the "View" submenu entry
    std::wstring text;
    int command; // the command sent to the view
    bool enabled;
    bool inSubmenu;
};
// The list's context menu for a state; remote adds "CHMOD...".
std::vector<ContextMenuItem> BuildContextMenu(const ViewState& state, bool remote);
