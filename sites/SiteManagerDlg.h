#pragma once
// The Site Manager: pick a saved site and connect, or create, edit and
// delete sites. It connects by itself; OK means the connection is logged on.

#include <wx/dialog.h>
#include <wx/treectrl.h>

class CServerConnection;

class CSiteManager final : public wxDialog {
public:
    enum Ids { TreeId = 1054, ConnectId = 1011, NewId = 1012, EditId = 1013, DeleteId = 1014 };

    explicit CSiteManager(wxWindow* parent, CServerConnection& connection);

    // "label (host:port)" after a successful Connect.
    wxString connectedTitle;

    wxTreeCtrl* Tree() const { return tree; }
    void OnConnect();
    void OnNew();
    void OnEdit();
    void OnDelete();

private:
    void FillTree();
    // The item of the record at index, appended under the root or its group.
    wxTreeItemId InsertItem(int index);
    int IndexOf(const wxTreeItemId& item) const;

    CServerConnection& connection;
    wxTreeCtrl* tree;
    wxTreeItemId root;
};
