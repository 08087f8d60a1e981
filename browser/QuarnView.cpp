#include "browser/QuarnView.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include "app/DialogUnits.h"
#include "app/FileAttributesDlg.h"
#include "app/FileIcons.h"
#include "app/TextDlg.h"
#include "connection/StatusText.h"
#include "connection/Utilities.h"
#include "platform/BusyCursor.h"
#include "platform/SettingsStore.h"
#include "sites/SiteManagerDlg.h"

namespace {

struct Column {
    const wchar_t* heading;
    int format;
    int width;
};
const Column Columns[] = {{L"Name", wxLIST_FORMAT_LEFT, 180},
                          {L"Time", wxLIST_FORMAT_LEFT, 110},
                          {L"Size", wxLIST_FORMAT_RIGHT, 80},
                          {L"Attributes", wxLIST_FORMAT_RIGHT, 80},
                          {L"Owner", wxLIST_FORMAT_RIGHT, 60}};

std::wstring TimeText(const platform::FILETIME& time) {
    if (time == platform::FILETIME{}) {
        return {};
    }
    return FormatTimeText(TimeFromFileTime(time));
}

std::uint32_t Low32(const std::vector<std::uint8_t>& data) {
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

std::vector<std::uint8_t> Bytes32(std::uint32_t value) {
    return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
            static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

} // namespace

CQuarnView::CActivityTarget::CActivityTarget(CQuarnView* owner)
    : view(std::make_shared<std::atomic<CQuarnView*>>(owner)) {}

void CQuarnView::CActivityTarget::PostMessage(unsigned, std::uintptr_t, std::intptr_t) {
    if (!wxTheApp) {
        return;
    }
    wxTheApp->CallAfter([alive = view] {
        if (CQuarnView* v = alive->load()) {
            v->keepAlive.Start(KeepAliveMs);
        }
    });
}

void CQuarnView::CActivityTarget::Detach() {
    view->store(nullptr);
}

CQuarnView::CQuarnView(wxWindow* parent, CQuarnDoc& doc)
    : wxPanel(parent, wxID_ANY), document(doc), connection(doc.connection),
      keepAlive(this, KeepAliveTimerId) {
    folderLabel = new wxStaticText(this, FolderLabelId, wxT("Folder:"));
    MakeDlgItemBold(folderLabel);
    folderBox = new wxChoice(this, FolderBoxId);
    goButton =
        new wxButton(this, CmdGo, wxT("Go"), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    upButton =
        new wxButton(this, CmdUp, wxT("Up"), wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
    list = new CListCtrlEx(this);
    for (int c = 0; c < 5; ++c) {
        list->AppendColumn(Columns[c].heading, static_cast<wxListColumnFormat>(Columns[c].format),
                           Columns[c].width);
    }
    list->columnCount = 5;
    list->state = [this] { return State(); };
    list->sendCommand = [this](int command) { OnCommand(command); };

    const int gap = ConvertDialogToPixels(wxSize(2, 2)).GetWidth();
    auto* top = new wxBoxSizer(wxHORIZONTAL);
    top->Add(folderLabel, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, gap);
    top->Add(folderBox, 1, wxALIGN_CENTER_VERTICAL);
    top->Add(goButton, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(upButton, 0, wxALIGN_CENTER_VERTICAL);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(top, 0, wxEXPAND | wxALL, gap);
    column->Add(list, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, gap);
    SetSizer(column);

    folderBox->Bind(wxEVT_CHOICE, &CQuarnView::OnFolderSelected, this);
    goButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EnterPath(); });
    upButton->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Up(); });
    list->Bind(wxEVT_LIST_KEY_DOWN, &CQuarnView::OnListKey, this);
    list->Bind(wxEVT_LIST_ITEM_ACTIVATED, [this](wxListEvent&) {
        if (IsConnected()) {
            OpenSelectedItem();
        }
    });
    Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { connection.SendKeepAlive(); }, KeepAliveTimerId);
    keepAlive.Start(KeepAliveMs);
    nsSocket::SetActivityWindow(&activity);
}

CQuarnView::~CQuarnView() {
    nsSocket::SetActivityWindow(nullptr);
    activity.Detach();
    keepAlive.Stop();
}

bool CQuarnView::IsConnected() const {
    return connection.IsConnected();
}

bool CQuarnView::ClipboardHasFiles() const {
    const long long now = wxGetLocalTimeMillis().GetValue();
    if (now - clipboardCheckedMs >= 1000) {
        clipboardCheckedMs = now;
        clipboardFiles = false;
        if (wxTheClipboard->Open()) {
            clipboardFiles =
                wxTheClipboard->IsSupported(wxDF_FILENAME) ||
                wxTheClipboard->IsSupported(wxDataFormat(wxT("x-special/gnome-copied-files")));
            wxTheClipboard->Close();
        }
    }
    return clipboardFiles;
}

ViewState CQuarnView::State() const {
    ViewState s;
    s.connected = IsConnected();
    s.selectedRows = list->SelectedCount();
    s.clipboardHasFiles = s.connected && ClipboardHasFiles();
    s.listMode = list->Mode();
    return s;
}

void CQuarnView::OnCommand(int command) {
    switch (command) {
    case CmdConnect:
        Connect();
        break;
    case CmdDisconnect:
        Disconnect();
        break;
    case CmdIcons:
        RememberColumnWidths();
        list->SetMode(ModeIcons);
        break;
    case CmdList:
        RememberColumnWidths();
        list->SetMode(ModeList);
        break;
    case CmdDetails:
        list->SetMode(ModeReport);
        break;
    case CmdGo:
        EnterPath();
        break;
    case CmdUp:
        Up();
        break;
    case CmdWebSite:
        OpenWithShell(L"https://pellix.example/");
        break;
    case CmdChmod: {
        CFileAttributes chmod(this);
        chmod.ShowModal(); // the operation on the selection comes with the file operations
        break;
    }
    default:
        // New Directory, Rename, Delete, Properties, Copy, Paste, Move and
        // Find come with the file operations.
        break;
    }
}

void CQuarnView::Connect() {
    if (IsConnected()) {
        connection.Quit();
    }
    for (int pane = 1; pane <= 3; ++pane) {
        PostStatusText(pane, L"");
    }
    CSiteManager manager(wxGetTopLevelParent(this), connection);
    if (manager.ShowModal() != wxID_OK) {
        return;
    }
    document.SetTitle(manager.connectedTitle.ToStdWstring());
    Refresh();
    list->connected = 1;
}

void CQuarnView::Disconnect() {
    if (!IsConnected()) {
        return;
    }
    folderBox->Clear();
    list->DeleteAllItems();
    list->SetImageList(nullptr, wxIMAGE_LIST_NORMAL);
    list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    largeIcons.reset();
    smallIcons.reset();
    connection.Quit();
    for (int pane = 1; pane <= 3; ++pane) {
        PostStatusText(pane, L"");
    }
    document.DeleteContents();
    list->connected = 0;
}

void CQuarnView::Refresh() {
    if (!IsConnected()) {
        return;
    }
    platform::CBusyCursor busy;
    connection.RefreshListing();
    ShowListing();
}

void CQuarnView::ShowListing() {
    folderBox->Clear();
    list->DeleteAllItems();
    list->SetImageList(nullptr, wxIMAGE_LIST_NORMAL);
    list->SetImageList(nullptr, wxIMAGE_LIST_SMALL);
    imageOfKind.clear();
    largeIcons = std::make_unique<wxImageList>(32, 32, true, 5);
    smallIcons = std::make_unique<wxImageList>(16, 16, true, 5);
    list->SetImageList(largeIcons.get(), wxIMAGE_LIST_NORMAL);
    list->SetImageList(smallIcons.get(), wxIMAGE_LIST_SMALL);
    FillFolderBox();
    list->Freeze();
    for (std::size_t i = 0; i < connection.listingCache.size(); ++i) {
        AddListingRow(connection.listingCache[i], static_cast<long>(i));
    }
    list->Thaw();
    const ListingCounts counts = CountListing(connection.listingCache);
    PostStatusText(1, DirectoriesText(counts.directories));
    PostStatusText(2, FilesText(counts.files));
    PostStatusText(3, BytesText(counts.bytes));
}

void CQuarnView::AddListingRow(const ListingEntry& entry, long itemData) {
    // One image per kind and type, shared by the rows that show it.
    const bool isDirectory = entry.isDirectory != 0;
    const wxIcon large = FileIcons().Icon(entry.name, isDirectory, 32);
    const wxIcon small = FileIcons().Icon(entry.name, isDirectory, 16);
    const std::wstring key = (isDirectory ? L"d:" : L"f:") +
                             wxString(entry.name).AfterLast(wxT('.')).Lower().ToStdWstring();
    auto found = imageOfKind.find(key);
    int image;
    if (found != imageOfKind.end()) {
        image = found->second;
    } else {
        image = largeIcons->Add(large);
        smallIcons->Add(small);
        imageOfKind.emplace(key, image);
    }
    const long row = list->InsertItem(list->GetItemCount(), entry.listedName, image);
    list->SetItem(row, 1, TimeText(entry.modified));
    list->SetItem(row, 2, FormatSizeText(entry.size));
    list->SetItem(row, 3, entry.attributes);
    list->SetItem(row, 4, entry.owner);
    list->SetItemData(row, itemData);
}

void CQuarnView::FillFolderBox() {
    folderBox->Clear();
    const FolderBoxContent content =
        FolderBoxItems(connection.WorkingDirectory(), connection.CurrentDirectory());
    for (const std::wstring& item : content.items) {
        folderBox->Append(item);
    }
    if (content.selected >= 0) {
        folderBox->SetSelection(content.selected);
    }
}

bool CQuarnView::TargetDirectory(std::wstring& target) {
    if (!IsConnected()) {
        return false;
    }
    const long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (row >= 0) {
        const ListingEntry& entry =
            connection.listingCache[static_cast<std::size_t>(list->GetItemData(row))];
        if (entry.isDirectory) {
            target = JoinRemotePath(entry.directory, entry.name);
            return true;
        }
    }
    target = connection.WorkingDirectory();
    return true;
}

void CQuarnView::ChangeToSelectedFolder() {
    if (!IsConnected()) {
        return;
    }
    const int selection = folderBox->GetSelection();
    if (selection == wxNOT_FOUND) {
        return;
    }
    if (connection.ChangeWorkingDirectory(
            folderBox->GetString(static_cast<unsigned>(selection)).ToStdWstring())) {
        Refresh();
    }
}

void CQuarnView::OnFolderSelected(wxCommandEvent&) {
    ChangeToSelectedFolder();
}

void CQuarnView::Up() {
    // The item before the selected one is the parent folder.
    const int selection = folderBox->GetSelection();
    if (selection <= 0) {
        return;
    }
    folderBox->SetSelection(selection - 1);
    ChangeToSelectedFolder();
}

void CQuarnView::EnterPath() {
    if (!IsConnected()) {
        return;
    }
    CTextDlg ask(wxGetTopLevelParent(this), wxT("Enter Path"), connection.WorkingDirectory());
    if (ask.ShowModal() != wxID_OK) {
        return;
    }
    std::wstring path = ask.text.ToStdWstring();
    if (path.size() > 1 && (path.back() == L'/' || path.back() == L'\\')) {
        path.pop_back();
    }
    if (!path.empty() && path != connection.WorkingDirectory() &&
        connection.ChangeWorkingDirectory(path)) {
        Refresh();
    }
}

void CQuarnView::OpenSelectedItem() {
    const long row = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (row < 0) {
        return;
    }
    const ListingEntry entry =
        connection.listingCache[static_cast<std::size_t>(list->GetItemData(row))];
    if (entry.isDirectory &&
        connection.ChangeWorkingDirectory(JoinRemotePath(entry.directory, entry.name))) {
        Refresh();
    }
}

void CQuarnView::OnListKey(wxListEvent& event) {
    switch (event.GetKeyCode()) {
    case WXK_BACK:
        Up();
        break;
    case WXK_F5:
        Refresh();
        break;
    case WXK_F9:
        EnterPath();
        break;
    default:
        event.Skip();
        break;
    }
}

void CQuarnView::LoadListLayout(platform::CSettingsStore& store, const std::wstring& key) {
    // Widths first: columns can be sized only while the list shows them.
    for (int c = 0; c < list->columnCount; ++c) {
        auto width = store.QueryValue(key, L"Col" + std::to_wstring(c));
        if (width && width->data.size() == 4) {
            list->SetColumnWidth(c, static_cast<int>(Low32(width->data) & 0xFFFF));
        }
    }
    RememberColumnWidths();
    if (auto view = store.QueryValue(key, L"View"); view && view->data.size() == 4) {
        list->SetMode(static_cast<int>(Low32(view->data) & 3));
    }
}

void CQuarnView::RememberColumnWidths() {
    if (list->Mode() != ModeReport) {
        return;
    }
    columnWidths.clear();
    for (int c = 0; c < list->columnCount; ++c) {
        columnWidths.push_back(list->GetColumnWidth(c));
    }
}

void CQuarnView::SaveListLayout(platform::CSettingsStore& store, const std::wstring& key) {
    RememberColumnWidths();
    store.SetValue(key, L"View", platform::ValueType::Binary,
                   Bytes32(static_cast<std::uint32_t>(list->Mode())));
    for (std::size_t c = 0; c < columnWidths.size(); ++c) {
        store.SetValue(key, L"Col" + std::to_wstring(c), platform::ValueType::Binary,
                       Bytes32(static_cast<std::uint32_t>(columnWidths[c])));
    }
}
