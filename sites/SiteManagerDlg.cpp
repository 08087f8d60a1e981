#include "sites/SiteManagerDlg.h"

#include <algorithm>
#include <map>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/imaglist.h>
#include <wx/sizer.h>

#include "app/DialogUnits.h"
#include "app/TextDlg.h"
#include "connection/ServerConnection.h"
#include "platform/MessageService.h"
#include "platform/TextCodec.h"
#include "sites/SitePropDlg.h"

namespace {

// The tree item's record: its index in the site list at insertion.
class CSiteItemData final : public wxTreeItemData {
public:
    explicit CSiteItemData(int siteIndex) : index(siteIndex) {}
    int index;
};

constexpr int GroupImage = 0;
constexpr int SiteImage = 1;

bool LabelLess(const SiteRecord& a, const SiteRecord& b) {
    if (a.IsGroup() != b.IsGroup()) {
        return a.IsGroup(); // groups before sites
    }
    std::wstring x = GetText(a.label), y = GetText(b.label);
    return wxString(x).CmpNoCase(wxString(y)) < 0;
}

} // namespace

CSiteManager::CSiteManager(wxWindow* parent, CServerConnection& owner)
    : wxDialog(parent, 135, wxT("Site Manager")), connection(owner) {
    const int margin = DialogMargin(this);
    tree = new wxTreeCtrl(this, TreeId, wxDefaultPosition, Dlu(this, 200, 94),
                          wxTR_HIDE_ROOT | wxTR_HAS_BUTTONS | wxTR_FULL_ROW_HIGHLIGHT |
                              wxTR_SINGLE | wxTR_NO_LINES | wxBORDER_SUNKEN);
    auto* images = new wxImageList(16, 16, true, 2);
    images->Add(wxArtProvider::GetIcon(wxART_FOLDER, wxART_OTHER, wxSize(16, 16)));
    images->Add(wxArtProvider::GetIcon(wxART_GO_HOME, wxART_OTHER, wxSize(16, 16)));
    tree->AssignImageList(images);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    const std::pair<int, const wchar_t*> labels[] = {
        {ConnectId, L"Connect"}, {NewId, L"New"}, {EditId, L"Edit"}, {DeleteId, L"Delete"}};
    for (const auto& [id, text] : labels) {
        auto* button = new wxButton(this, id, text, wxDefaultPosition, Dlu(this, 50, 14));
        buttons->Add(button, 1, wxEXPAND);
    }
    auto* connect = dynamic_cast<wxButton*>(FindWindow(ConnectId));
    connect->SetDefault();
    MakeDlgItemBold(connect);

    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(tree, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, margin);
    column->Add(buttons, 0, wxEXPAND | wxALL, margin);
    SetSizerAndFit(column);

    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnConnect(); }, ConnectId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnNew(); }, NewId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnEdit(); }, EditId);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { OnDelete(); }, DeleteId);
    tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, [this](wxTreeEvent&) { OnConnect(); });
    // Every way out but a successful Connect is Cancel.
    SetAffirmativeId(wxID_NONE);
    SetEscapeId(wxID_CANCEL);

    connection.Sites().LoadSites();
    FillTree();
}

int CSiteManager::IndexOf(const wxTreeItemId& item) const {
    auto* data = item.IsOk() ? dynamic_cast<CSiteItemData*>(tree->GetItemData(item)) : nullptr;
    return data ? data->index : -1;
}

wxTreeItemId CSiteManager::InsertItem(int index) {
    SiteList& sites = connection.Sites();
    const SiteRecord* record = sites.SiteAt(index);
    wxTreeItemId parent = root;
    if (!record->IsGroup() && record->parentGroupId != -1) {
        // A site of a known group goes under that group's item.
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = tree->GetFirstChild(root, cookie); child.IsOk();
             child = tree->GetNextChild(root, cookie)) {
            const SiteRecord* group = sites.SiteAt(IndexOf(child));
            if (group && group->IsGroup() && group->groupId == record->parentGroupId) {
                parent = child;
                break;
            }
        }
    }
    const int image = record->IsGroup() ? GroupImage : SiteImage;
    return tree->AppendItem(parent, GetText(record->label), image, image, new CSiteItemData(index));
}

void CSiteManager::FillTree() {
    tree->DeleteAllItems();
    root = tree->AddRoot(wxT("Sites"));
    SiteList& sites = connection.Sites();
    std::vector<int> order(static_cast<std::size_t>(sites.Count()));
    for (int i = 0; i < sites.Count(); ++i) {
        order[static_cast<std::size_t>(i)] = i;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return LabelLess(*sites.SiteAt(a), *sites.SiteAt(b)); });
    // Groups first, so their sites find them.
    for (int index : order) {
        InsertItem(index);
    }
    tree->ExpandAll();
}

void CSiteManager::OnConnect() {
    wxTreeItemId item = tree->GetSelection();
    if (!item.IsOk()) {
        return;
    }
    const SiteRecord* found = connection.Sites().FindSite(tree->GetItemText(item).ToStdWstring());
    if (!found || found->IsGroup()) {
        return;
    }
    const SiteRecord site = *found;
    if (!connection.ConnectToSite(site)) {
        return; // the connection has said why; the dialog stays
    }
    connection.OpenInitialDirectory(GetText(site.initialDirectory));
    connectedTitle = ConnectedTitle(site);
    EndModal(wxID_OK);
}

void CSiteManager::OnNew() {
    CSiteProp properties(this, connection.Sites());
    if (properties.ShowModal() != wxID_OK) {
        return;
    }
    SiteRecord record;
    properties.ToRecord(record);
    int index = connection.Sites().AddSite(record);
    if (index < 0) {
        return;
    }
    wxTreeItemId item = InsertItem(index);
    tree->EnsureVisible(item);
    tree->SelectItem(item);
}

void CSiteManager::OnEdit() {
    wxTreeItemId item = tree->GetSelection();
    if (!item.IsOk()) {
        return;
    }
    const std::wstring oldLabel = tree->GetItemText(item).ToStdWstring();
    SiteList& sites = connection.Sites();
    SiteRecord* record = sites.FindSite(oldLabel);
    if (!record) {
        return;
    }
    if (record->IsGroup()) {
        CTextDlg ask(this, wxT("New Group"), oldLabel);
        if (ask.ShowModal() != wxID_OK) {
            return;
        }
        const std::wstring newLabel = ask.text.ToStdWstring();
        if (!platform::EqualNoCase(newLabel, oldLabel) && sites.FindSite(newLabel)) {
            platform::ShowMessage(L"A site or group with this label already exists.",
                                  platform::ProgramCaption(), platform::MbIconError);
            return;
        }
        SetText(record->label, newLabel);
        sites.RemoveSite(oldLabel, false);
        sites.SaveSite(newLabel);
        tree->SetItemText(item, newLabel);
        return;
    }
    CSiteProp properties(this, sites);
    properties.FromRecord(*record);
    if (properties.ShowModal() != wxID_OK) {
        return;
    }
    record = sites.FindSite(oldLabel);
    const std::int32_t oldParent = record->parentGroupId;
    properties.ToRecord(*record);
    const std::wstring newLabel = GetText(record->label);
    sites.RemoveSite(oldLabel, false);
    sites.SaveSite(newLabel);
    if (record->parentGroupId == oldParent) {
        tree->SetItemText(item, newLabel);
        return;
    }
    const int index = IndexOf(item);
    tree->Delete(item);
    wxTreeItemId moved = InsertItem(index);
    tree->EnsureVisible(moved);
    tree->SelectItem(moved);
}

void CSiteManager::OnDelete() {
    wxTreeItemId item = tree->GetSelection();
    if (!item.IsOk()) {
        return;
    }
    const std::wstring label = tree->GetItemText(item).ToStdWstring();
    const SiteRecord* record = connection.Sites().FindSite(label);
    if (!record) {
        return;
    }
    const bool group = record->IsGroup();
    if (group && tree->ItemHasChildren(item)) {
        platform::ShowMessage(L"The group is not empty.", platform::ProgramCaption(),
                              platform::MbIconError);
        return;
    }
    const wchar_t* question =
        group ? L"Are you sure you want to delete the selected group?"
              : L"Are you sure you want to delete the selected site from Site Manager?";
    if (platform::ShowMessage(question, platform::ProgramCaption(),
                              platform::MbOkCancel | platform::MbIconQuestion) != platform::IdOk) {
        return;
    }
    connection.Sites().RemoveSite(label, true);
    // Later records moved down one place: keep every item's index in step.
    const int removed = IndexOf(item);
    tree->Delete(item);
    std::vector<wxTreeItemId> pending = {root};
    while (!pending.empty()) {
        wxTreeItemId parent = pending.back();
        pending.pop_back();
        wxTreeItemIdValue cookie;
        for (wxTreeItemId child = tree->GetFirstChild(parent, cookie); child.IsOk();
             child = tree->GetNextChild(parent, cookie)) {
            if (auto* data = dynamic_cast<CSiteItemData*>(tree->GetItemData(child));
                data && data->index > removed) {
                --data->index;
            }
            pending.push_back(child);
        }
    }
}
