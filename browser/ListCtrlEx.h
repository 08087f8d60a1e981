#pragma once
// The browser's file list: a list control with a context menu of its own
// that forwards the chosen command to the view.

#include <functional>
#include <wx/listctrl.h>

#include "browser/ViewRules.h"

class CListCtrlEx final : public wxListCtrl {
public:
    static constexpr int ListId = 1002;

    explicit CListCtrlEx(wxWindow* parent);

    // 1: the list shows a server (the context menu offers CHMOD and greys
    // everything while not connected).
    int remote = 1;
    int connected = 0;
    int columnCount = 0;

    // The view's state for the menu's rules, and where its commands go.
    std::function<ViewState()> state;
    std::function<void(int command)> sendCommand;

    int SelectedCount() const { return GetSelectedItemCount(); }
    // The list's display mode: 0 icons, 1 details, 2 small icons, 3 list.
    int Mode() const;
    void SetMode(int mode);
    // Shows the context menu at a screen point ((-1, -1): at the list).
    void ShowContextMenu(const wxPoint& screenPoint);
    // The menu as built for the present state (tests look at it).
    std::vector<ContextMenuItem> MenuItems() const;

private:
    void OnContextMenu(wxContextMenuEvent& event);
};
