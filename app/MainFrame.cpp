#include "app/MainFrame.h"

#include <wx/accel.h>
#include <wx/menu.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>

#include "app/AboutDlg.h"
#include "app/ToolBarEx.h"
#include "app/WxUiBridge.h"
#include "browser/QuarnView.h"
#include "connection/StatusText.h"
#include "platform/SettingsStore.h"
#include "platform/WindowPlacement.h"

namespace {

struct MenuEntry {
    int command; // 0: a separator
    const wchar_t* text;
    bool radio;
};

const int ViewCommands[] = {CmdConnect,  CmdDisconnect, CmdNewDirectory, CmdRename,
                            CmdDelete,   CmdProperties, CmdCopy,         CmdPaste,
                            CmdIcons,    CmdList,       CmdDetails,      CmdChmod,
                            CmdWebSite,  CmdMove,       CmdFind,         CmdSetTempDirectory,
                            CmdOverview, CmdManual};

wxMenu* MakeMenu(std::initializer_list<MenuEntry> entries) {
    auto* menu = new wxMenu;
    for (const MenuEntry& e : entries) {
        if (e.command == 0) {
            menu->AppendSeparator();
        } else if (e.radio) {
            menu->AppendRadioItem(WxId(e.command), e.text);
        } else {
            menu->Append(WxId(e.command), e.text);
        }
    }
    return menu;
}

} // namespace

wxString MainFrameCaption(const wxString& documentTitle) {
    return documentTitle + wxT(" - Pellix FTP");
}

CMainFrame::CMainFrame(CQuarnDoc& doc, CWxStatusBarTarget& target,
                       platform::CSettingsStore& settings)
    : wxFrame(nullptr, wxID_ANY, MainFrameCaption(doc.GetTitle()), wxPoint(150, 150),
              wxSize(580, 460)),
      document(doc), statusTarget(target), store(settings), readyTimer(this, ReadyTimerId) {
    BuildMenu();
    toolBar = new CToolBarEx(this);
    SetToolBar(toolBar);

    wxStatusBar* bar = CreateStatusBar(StatusPaneCount, wxSTB_DEFAULT_STYLE, WxId(StatusBarId));
    const wchar_t* sizing[] = {L"Directories:          ", L"Files:          ",
                               L"                   bytes"};
    int widths[StatusPaneCount] = {-1, 0, 0, 0};
    for (int pane = 1; pane < StatusPaneCount; ++pane) {
        widths[pane] = bar->GetTextExtent(sizing[pane - 1]).GetWidth() + 12;
    }
    bar->SetStatusWidths(StatusPaneCount, widths);
    statusTarget.Attach(bar);
    SetStatusBarWindow(&statusTarget);
    for (int pane = 1; pane <= 3; ++pane) {
        PostStatusText(pane, L"");
    }

    view = new CQuarnView(this, document);
    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(view, 1, wxEXPAND);
    SetSizer(sizer);

    wxAcceleratorEntry keys[] = {
        {wxACCEL_CTRL, 'C', WxId(CmdCopy)},
        {wxACCEL_CTRL, WXK_INSERT, WxId(CmdCopy)},
        {wxACCEL_CTRL, 'V', WxId(CmdPaste)},
        {wxACCEL_SHIFT, WXK_INSERT, WxId(CmdPaste)},
    };
    SetAcceleratorTable(wxAcceleratorTable(4, keys));

    for (int command : ViewCommands) {
        Bind(wxEVT_MENU, &CMainFrame::OnCommand, this, WxId(command));
        Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUi, this, WxId(command));
    }
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { Close(); }, WxId(CmdExit));
    Bind(
        wxEVT_MENU, [this](wxCommandEvent&) { CAboutDlg(this).ShowModal(); }, WxId(CmdAbout));
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(
        wxEVT_TIMER, [](wxTimerEvent&) { PostStatusText(0, L"Ready"); }, ReadyTimerId);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& e) {
        RememberNormalRect();
        e.Skip();
    });
    Bind(wxEVT_MOVE, [this](wxMoveEvent& e) {
        RememberNormalRect();
        e.Skip();
    });
    document.titleChanged = [this](const std::wstring& title) {
        SetTitle(MainFrameCaption(title));
    };
    readyTimer.Start(ReadyMs);
    normalRect = GetRect();
}

CMainFrame::~CMainFrame() {
    document.titleChanged = nullptr;
    SetStatusBarWindow(nullptr);
    statusTarget.Attach(nullptr);
}

void CMainFrame::BuildMenu() {
    auto* bar = new wxMenuBar;
    bar->Append(MakeMenu({{CmdConnect, L"Connect...", false},
                          {CmdDisconnect, L"Disconnect", false},
                          {0, nullptr, false},
                          {CmdNewDirectory, L"New Directory...\tIns", false},
                          {CmdRename, L"Rename\tF2", false},
                          {CmdDelete, L"&Delete\tDel", false},
                          {0, nullptr, false},
                          {CmdProperties, L"Properties\tF4", false},
                          {0, nullptr, false},
                          {CmdExit, L"E&xit", false}}),
                wxT("&File"));
    bar->Append(
        MakeMenu({{CmdCopy, L"&Copy\tCtrl+C", false}, {CmdPaste, L"&Paste\tCtrl+V", false}}),
        wxT("&Edit"));
    bar->Append(MakeMenu({{CmdIcons, L"&Icons", true},
                          {CmdList, L"&List", true},
                          {CmdDetails, L"&Details", true}}),
                wxT("&View"));
    bar->Append(MakeMenu({{CmdChmod, L"CHMOD...", false}}), wxT("Tools"));
    bar->Append(MakeMenu({{CmdWebSite, L"Visit PellixSoftware WebSite", false},
                          {CmdAbout, L"&About Pellix FTP...", false}}),
                wxT("&Help"));
    SetMenuBar(bar);
}

void CMainFrame::OnCommand(wxCommandEvent& event) {
    view->OnCommand(CommandOfWxId(event.GetId()));
}

void CMainFrame::OnUpdateUi(wxUpdateUIEvent& event) {
    const ViewState state = view->State();
    const int command = CommandOfWxId(event.GetId());
    event.Enable(IsCommandEnabled(command, state));
    if (command == CmdIcons || command == CmdList || command == CmdDetails) {
        event.Check(IsCommandChecked(command, state));
    }
}

void CMainFrame::RememberNormalRect() {
    if (!IsMaximized() && !IsIconized() && !IsFullScreen()) {
        normalRect = GetRect();
    }
}

void CMainFrame::RestoreLayout() {
    if (!store.CreateKey(LayoutKey)) {
        return;
    }
    auto main = store.QueryValue(LayoutKey, L"Main");
    std::optional<platform::WindowPlacement> placement;
    if (main) {
        placement = platform::DecodePlacement(main->data);
    }
    if (placement && placement->right > placement->left && placement->bottom > placement->top) {
        // Never start minimised or maximised: the normal rectangle it is.
        SetSize(placement->left, placement->top, placement->right - placement->left,
                placement->bottom - placement->top);
    } else {
        SetSize(150, 150, 580, 460);
    }
    normalRect = GetRect();
    if (auto shown = store.QueryDword(LayoutKey, L"ToolBar")) {
        toolBar->Show(*shown != 0);
    }
    if (auto shown = store.QueryDword(LayoutKey, L"StatusBar")) {
        GetStatusBar()->Show(*shown != 0);
    }
    view->LoadListLayout(store, LayoutKey);
    Layout();
}

void CMainFrame::SaveLayout() {
    if (!store.CreateKey(LayoutKey)) {
        return;
    }
    platform::WindowPlacement placement;
    placement.showCommand = IsMaximized() ? platform::ShowMaximized : platform::ShowNormal;
    placement.left = normalRect.GetLeft();
    placement.top = normalRect.GetTop();
    placement.right = normalRect.GetRight() + 1;
    placement.bottom = normalRect.GetBottom() + 1;
    store.SetValue(LayoutKey, L"Main", platform::ValueType::Binary,
                   platform::EncodePlacement(placement));
    store.SetDword(LayoutKey, L"ToolBar", toolBar->IsShown() ? 1 : 0);
    store.SetDword(LayoutKey, L"StatusBar", GetStatusBar()->IsShown() ? 1 : 0);
    view->SaveListLayout(store, LayoutKey);
}

void CMainFrame::OnClose(wxCloseEvent& event) {
    SaveLayout();
    readyTimer.Stop();
    event.Skip();
}
