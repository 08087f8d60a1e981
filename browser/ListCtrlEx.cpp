#include "browser/ListCtrlEx.h"

#include <memory>
#include <wx/menu.h>

CListCtrlEx::CListCtrlEx(wxWindow* parent)
    : wxListCtrl(parent, ListId, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_HRULES | wxLC_VRULES | wxBORDER_SUNKEN | wxWANTS_CHARS) {
    Bind(wxEVT_CONTEXT_MENU, &CListCtrlEx::OnContextMenu, this);
}

int CListCtrlEx::Mode() const {
    const long style = GetWindowStyleFlag();
    if (style & wxLC_REPORT) {
        return ModeReport;
    }
    if (style & wxLC_SMALL_ICON) {
        return ModeSmallIcons;
    }
    if (style & wxLC_LIST) {
        return ModeList;
    }
    return ModeIcons;
}

void CListCtrlEx::SetMode(int mode) {
    static const long styles[] = {wxLC_ICON, wxLC_REPORT, wxLC_SMALL_ICON, wxLC_LIST};
    const long wanted = styles[mode & 3];
    if (GetWindowStyleFlag() & wanted) {
        return;
    }
    SetSingleStyle(wanted);
    // Items keep an empty rectangle after a mode change until a relayout.
    SendSizeEvent();
}

std::vector<ContextMenuItem> CListCtrlEx::MenuItems() const {
    ViewState s = state ? state() : ViewState{};
    s.connected = connected != 0;
    s.selectedRows = SelectedCount();
    return BuildContextMenu(s, remote != 0);
}

void CListCtrlEx::ShowContextMenu(const wxPoint& screenPoint) {
    if (GetParent()) {
        GetParent()->SetFocus();
    }
    SetFocus();
    wxMenu menu;
    auto view = std::make_unique<wxMenu>();
    std::vector<ContextMenuItem> items = MenuItems();
    std::vector<int> commandOf(11, 0);
    for (const ContextMenuItem& item : items) {
        if (item.itemId == 0) {
            menu.AppendSeparator();
        } else if (item.itemId > 0) {
            wxMenu& target = item.inSubmenu ? *view : menu;
            target.Append(item.itemId, item.text)->Enable(item.enabled);
            commandOf[static_cast<std::size_t>(item.itemId)] = item.command;
        }
    }
    menu.AppendSubMenu(view.release(), wxT("View"));
    const wxPoint at =
        screenPoint == wxDefaultPosition ? wxPoint(0, 0) : ScreenToClient(screenPoint);
    const int chosen = GetPopupMenuSelectionFromUser(menu, at);
    if (chosen >= 1 && chosen <= 10 && sendCommand) {
        sendCommand(commandOf[static_cast<std::size_t>(chosen)]);
    }
}

void CListCtrlEx::OnContextMenu(wxContextMenuEvent& event) {
    ShowContextMenu(event.GetPosition());
}
