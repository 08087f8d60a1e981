// The road of one connection through the real window against a real server:
// a new site, Connect, the listing, the folder box, Go, Up, F5, Enter,
// Disconnect; and the enable rules on the way.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include "app/TextDlg.h"
#include "platform/SettingsStore.h"
#include "sites/SiteList.h"
#include "sites/SiteManagerDlg.h"
#include "sites/SitePropDlg.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/TestFtpServer.h"

using namespace guitest;
namespace fs = std::filesystem;

namespace {

void Type(wxWindow& dialog, int id, const wxString& text) {
    dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id))->SetValue(text);
}

std::vector<wxString> FolderItems(CQuarnView& view) {
    std::vector<wxString> items;
    for (unsigned i = 0; i < view.FolderBox()->GetCount(); ++i) {
        items.push_back(view.FolderBox()->GetString(i));
    }
    return items;
}

std::vector<wxString> Rows(CQuarnView& view) {
    std::vector<wxString> rows;
    for (long i = 0; i < view.List()->GetItemCount(); ++i) {
        rows.push_back(view.List()->GetItemText(i));
    }
    return rows;
}

wxString Pane(CMainFrame& frame, int pane) {
    return frame.GetStatusBar()->GetStatusText(pane);
}

void SelectRow(CQuarnView& view, long row) {
    for (long i = 0; i < view.List()->GetItemCount(); ++i) {
        view.List()->SetItemState(i, i == row ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    }
}

void PressKey(CQuarnView& view, int key) {
    wxListEvent event(wxEVT_LIST_KEY_DOWN, view.List()->GetId());
    event.SetEventObject(view.List());
    wxKeyEvent keyEvent(wxEVT_KEY_DOWN);
    keyEvent.m_keyCode = key;
    event.m_code = key;
    event.m_itemIndex = -1;
    view.List()->GetEventHandler()->ProcessEvent(event);
}

} // namespace

class Browser : public ::testing::Test {
protected:
    void SetUp() override {
        server = testsupport::CTestFtpServer::Start(testsupport::ServerKind::Pyftpdlib);
        fs::create_directories(server->Root() / "a" / "b");
        std::ofstream(server->Root() / "a" / "one.txt") << "1";
        std::ofstream(server->Root() / "a" / "two.txt") << "22";
        std::ofstream(server->Root() / "top.bin") << "xyz";
    }
    // The Site Manager: New (filled in Site Properties), then Connect.
    void ScriptNewSiteAndConnect(const wxString& password) {
        // New runs Site Properties to its end before Connect is pressed. A
        // Connect that fails leaves the dialog open: it is noted and closed.
        f.dialogs.Then(wxT("Site Manager"), [this](wxDialog& d) {
            Click(d, CSiteManager::NewId);
            Click(d, CSiteManager::ConnectId);
            if (d.IsModal()) {
                managerStayedOpen = true;
                d.EndModal(wxID_CANCEL);
            }
        });
        f.dialogs.Then(wxT("Site Properties"), [this, password](wxDialog& d) {
            Type(d, CSiteProp::LabelId, wxT("Local test"));
            Type(d, CSiteProp::HostId, wxT("ftp://127.0.0.1"));
            Type(d, CSiteProp::PortId, wxString::Format(wxT("%d"), server->Port()));
            Type(d, CSiteProp::UserId, wxString::FromUTF8(server->User()));
            Type(d, CSiteProp::PasswordId, password);
            Click(d, wxID_OK);
        });
    }

    std::unique_ptr<testsupport::CTestFtpServer> server;
    GuiFixture f;
    bool managerStayedOpen = false;
};

TEST_F(Browser, TheWholeRoadOfOneConnection) {
    ScriptNewSiteAndConnect(wxString::FromUTF8(server->Password()));
    f.Start();
    ASSERT_TRUE(
        PumpUntil([&] { return f.dialogs.Done() && f.frame->View()->IsConnected(); }, 15000))
        << testing::PrintToString(f.messages.Texts());
    CMainFrame& frame = *f.frame;
    CQuarnView& view = *frame.View();
    const wxString title =
        wxString::Format(wxT("Local test (127.0.0.1:%d) - Pellix FTP"), server->Port());
    EXPECT_EQ(frame.GetTitle(), title);
    EXPECT_EQ(view.List()->GetColumnCount(), 5);
    const wchar_t* headings[] = {L"Name", L"Time", L"Size", L"Attributes", L"Owner"};
    for (int c = 0; c < 5; ++c) {
        wxListItem column;
        view.List()->GetColumn(c, column);
        EXPECT_EQ(column.GetText(), wxString(headings[c]));
    }
    EXPECT_EQ(Rows(view), (std::vector<wxString>{wxT("a"), wxT("top.bin")}));
    EXPECT_EQ(view.List()->GetItemText(1, 2), wxT("3 B"));
    EXPECT_TRUE(PumpUntil([&] { return Pane(frame, 1) == wxT("Directories: 1"); }));
    EXPECT_EQ(Pane(frame, 2), wxT("Files: 1"));
    // Listed directory sizes count too.
    const std::int64_t folderSize = f.document.connection.listingCache[0].size;
    EXPECT_EQ(Pane(frame, 3),
              wxString::Format(wxT("%lld bytes"), static_cast<long long>(folderSize + 3)));
    EXPECT_EQ(FolderItems(view), std::vector<wxString>{wxT("/")});

    // Enable rules while connected, with none, one and two rows selected.
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    wxMenuBar* bar = frame.GetMenuBar();
    EXPECT_FALSE(bar->IsEnabled(WxId(CmdConnect)));
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdDisconnect)));
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdNewDirectory)));
    EXPECT_FALSE(bar->IsEnabled(WxId(CmdRename)));
    SelectRow(view, 0);
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdRename)));
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdDelete)));
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdChmod)));
    auto menuEnabled = [&] {
        std::map<std::wstring, bool> enabled;
        for (const ContextMenuItem& item : view.List()->MenuItems()) {
            if (item.itemId > 0) {
                enabled[item.text] = item.enabled;
            }
        }
        return enabled;
    };
    using Menu = std::map<std::wstring, bool>;
    EXPECT_EQ(menuEnabled(), (Menu{{L"Copy", true},
                                   {L"New Directory...", true},
                                   {L"Rename", true},
                                   {L"Delete", true},
                                   {L"CHMOD...", true},
                                   {L"Properties", true},
                                   {L"Icons", true},
                                   {L"List", true},
                                   {L"Details", true}}));
    view.List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    EXPECT_EQ(menuEnabled(), (Menu{{L"Copy", true},
                                   {L"New Directory...", true},
                                   {L"Rename", false},
                                   {L"Delete", true},
                                   {L"CHMOD...", true},
                                   {L"Properties", false},
                                   {L"Icons", true},
                                   {L"List", true},
                                   {L"Details", true}}));
    SelectRow(view, -1);
    EXPECT_EQ(menuEnabled(), (Menu{{L"Copy", false},
                                   {L"New Directory...", true},
                                   {L"Rename", false},
                                   {L"Delete", false},
                                   {L"CHMOD...", false},
                                   {L"Properties", false},
                                   {L"Icons", true},
                                   {L"List", true},
                                   {L"Details", true}}));
    SelectRow(view, 0);
    view.List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_FALSE(bar->IsEnabled(WxId(CmdRename)));
    EXPECT_FALSE(bar->IsEnabled(WxId(CmdProperties)));
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdCopy)));

    // The display modes keep the rows.
    for (int command : {CmdIcons, CmdList, CmdDetails}) {
        view.OnCommand(command);
        frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
        EXPECT_TRUE(bar->IsChecked(WxId(command))) << command;
        EXPECT_EQ(view.List()->GetItemCount(), 2);
    }

    // Go to a typed path, with a trailing slash.
    f.dialogs.Then(wxT("Enter Path"), [](wxDialog& d) {
        Type(d, CTextDlg::EditId, wxT("/a/b/"));
        Click(d, wxID_OK);
    });
    view.OnCommand(CmdGo);
    EXPECT_EQ(FolderItems(view), (std::vector<wxString>{wxT("/"), wxT("/a"), wxT("/a/b")}));
    EXPECT_EQ(view.FolderBox()->GetSelection(), 2);
    EXPECT_TRUE(Rows(view).empty());

    // Up to the parent, then F5, then Enter on a directory.
    view.OnCommand(CmdUp);
    EXPECT_EQ(view.FolderBox()->GetStringSelection(), wxT("/a"));
    EXPECT_EQ(Rows(view), (std::vector<wxString>{wxT("b"), wxT("one.txt"), wxT("two.txt")}));
    std::ofstream(server->Root() / "a" / "three.txt") << "333";
    PressKey(view, WXK_F5);
    EXPECT_EQ(Rows(view).size(), 4u) << "F5 reads the listing again";
    EXPECT_TRUE(PumpUntil([&] {
        return Pane(frame, 3) ==
               wxString::Format(wxT("%lld bytes"), static_cast<long long>(folderSize + 6));
    }));
    SelectRow(view, 0);
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, view.List()->GetId());
    activate.SetEventObject(view.List());
    view.List()->GetEventHandler()->ProcessEvent(activate);
    EXPECT_EQ(view.FolderBox()->GetStringSelection(), wxT("/a/b"));
    PressKey(view, WXK_BACK);
    EXPECT_EQ(view.FolderBox()->GetStringSelection(), wxT("/a"));

    // Disconnect.
    view.OnCommand(CmdDisconnect);
    EXPECT_EQ(frame.GetTitle(), wxT("Disconnected - Pellix FTP"));
    EXPECT_EQ(view.List()->GetItemCount(), 0);
    EXPECT_TRUE(PumpUntil([&] { return Pane(frame, 1).empty() && Pane(frame, 3).empty(); }));
    frame.UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdConnect)));
    EXPECT_FALSE(bar->IsEnabled(WxId(CmdDisconnect)));
    EXPECT_TRUE(f.messages.Texts().empty()) << testing::PrintToString(f.messages.Texts());
    EXPECT_TRUE(f.dialogs.unexpected.empty());
}

TEST_F(Browser, AFailedLogonKeepsTheSiteManagerOpen) {
    ScriptNewSiteAndConnect(wxT("wrong password"));
    f.Start();
    ASSERT_TRUE(PumpUntil([&] { return f.dialogs.Done(); }, 15000));
    EXPECT_TRUE(managerStayedOpen);
    auto texts = f.messages.Texts();
    ASSERT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0].rfind(L"530 ", 0), 0u);
    EXPECT_FALSE(f.frame->View()->IsConnected());
    EXPECT_EQ(f.frame->GetTitle(), wxT("Disconnected - Pellix FTP"));
    EXPECT_TRUE(f.store.QueryValue(SitesKey, L"Local test"))
        << "the new site was saved all the same";
}

TEST_F(Browser, ContextMenuGreysByConnectionAndSelection) {
    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    f.Start();
    PumpUntil([&] { return f.dialogs.Done(); });
    CListCtrlEx& list = *f.frame->View()->List();
    auto enabledOf = [&] {
        std::map<std::wstring, bool> enabled;
        for (const ContextMenuItem& item : list.MenuItems()) {
            if (item.itemId > 0) {
                enabled[item.text] = item.enabled;
            }
        }
        return enabled;
    };
    for (const auto& [text, enabled] : enabledOf()) {
        EXPECT_FALSE(enabled) << "not connected: " << text;
    }
    EXPECT_EQ(enabledOf().count(L"Paste"), 0u) << "no file list on the clipboard: no Paste";
}

TEST_F(Browser, SiteManagerEditsRenamesAndDeletes) {
    SiteRecord first;
    SetText(first.label, L"zeta");
    SetText(first.host, L"h1");
    SiteRecord second;
    SetText(second.label, L"Alpha");
    SetText(second.host, L"h2");
    SiteList sites(f.store);
    sites.AddSite(first);
    sites.AddSite(second);
    bool sortedAtOpening = false;
    f.dialogs.Then(wxT("Site Manager"), [&](wxDialog& d) {
        auto& manager = dynamic_cast<CSiteManager&>(d);
        wxTreeCtrl* tree = manager.Tree();
        wxTreeItemIdValue cookie;
        wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie);
        sortedAtOpening = tree->GetItemText(item) == wxT("Alpha");
        tree->SelectItem(item);
        Click(d, CSiteManager::EditId);   // renames Alpha to ALPHA-2 below
        Click(d, CSiteManager::DeleteId); // cancelled below
        Click(d, CSiteManager::DeleteId); // confirmed below
        d.EndModal(wxID_CANCEL);
    });
    f.dialogs.Then(wxT("Site Properties"), [](wxDialog& d) {
        Type(d, CSiteProp::LabelId, wxT("ALPHA-2"));
        Click(d, wxID_OK);
    });
    f.messages.QueueAnswer(platform::IdCancel);
    f.messages.QueueAnswer(platform::IdOk);
    f.Start();
    ASSERT_TRUE(PumpUntil([&] { return f.dialogs.Done(); }));
    EXPECT_TRUE(sortedAtOpening);
    EXPECT_EQ(f.store.ValueNames(SitesKey), std::vector<std::wstring>{L"zeta"})
        << "renamed to one value, then deleted after one cancelled question";
    ASSERT_EQ(f.messages.Texts().size(), 2u);
    EXPECT_EQ(f.messages.Texts()[0],
              L"Are you sure you want to delete the selected site from Site Manager?");
}
