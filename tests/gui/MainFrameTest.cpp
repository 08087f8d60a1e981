#include <gtest/gtest.h>
#include <thread>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "app/ToolBarEx.h"
#include "connection/StatusText.h"
#include "platform/WindowPlacement.h"
#include "tests/gui/GuiFixture.h"

using namespace guitest;

TEST(MainFrame, FirstStartOpensTheDefaultWindowAndTheSiteManager) {
    GuiFixture f;
    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    f.Start();
    ASSERT_TRUE(PumpUntil([&] { return f.dialogs.Done(); })) << "the Site Manager did not open";
    EXPECT_EQ(f.frame->GetTitle(), wxT("Disconnected - Pellix FTP"));
    EXPECT_EQ(f.frame->GetPosition(), wxPoint(150, 150));
    EXPECT_EQ(f.frame->GetSize(), wxSize(580, 460));
    ASSERT_NE(f.frame->GetToolBar(), nullptr);
    EXPECT_TRUE(f.frame->GetToolBar()->IsShown());
    EXPECT_EQ(f.frame->GetToolBar()->GetToolsCount(), 15u);
    EXPECT_EQ(f.frame->GetToolBar()->GetToolShortHelp(WxId(CmdChmod)), wxT("CHMOD"));
    EXPECT_TRUE(f.frame->GetStatusBar()->IsShown());
    EXPECT_EQ(f.frame->GetStatusBar()->GetFieldsCount(), 4);
    f.Close();
    EXPECT_TRUE(f.store.QueryValue(LayoutKey, L"Main"));
    EXPECT_EQ(f.store.QueryDword(LayoutKey, L"ToolBar"), 1u);
    EXPECT_EQ(f.store.QueryDword(LayoutKey, L"StatusBar"), 1u);
    EXPECT_TRUE(f.store.QueryValue(LayoutKey, L"View"));
    EXPECT_TRUE(f.store.QueryValue(LayoutKey, L"Col4"));
    EXPECT_TRUE(f.dialogs.unexpected.empty());
}

TEST(MainFrame, StoredLayoutComesBackNormalAndWithoutAToolbar) {
    GuiFixture f;
    platform::WindowPlacement placement;
    placement.showCommand = platform::ShowMaximized;
    placement.left = 40;
    placement.top = 50;
    placement.right = 40 + 600;
    placement.bottom = 50 + 400;
    f.store.SetValue(LayoutKey, L"Main", platform::ValueType::Binary,
                     platform::EncodePlacement(placement));
    f.store.SetDword(LayoutKey, L"ToolBar", 0);
    f.store.SetValue(LayoutKey, L"View", platform::ValueType::Binary, {3, 0, 0, 0});
    f.store.SetValue(LayoutKey, L"Col1", platform::ValueType::Binary, {80, 0, 1, 0});
    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    f.Start();
    PumpUntil([&] { return f.dialogs.Done(); });
    EXPECT_FALSE(f.frame->IsMaximized());
    EXPECT_EQ(f.frame->GetRect(), wxRect(40, 50, 600, 400));
    EXPECT_FALSE(f.frame->GetToolBar()->IsShown());
    EXPECT_EQ(f.frame->View()->List()->Mode(), ModeList);
    f.frame->View()->OnCommand(CmdDetails);
    EXPECT_EQ(f.frame->View()->List()->GetColumnWidth(1), 80);

    // Closed while maximised: the normal rectangle is what is kept.
    f.frame->Maximize();
    PumpUntil([&] { return f.frame->IsMaximized(); }, 2000);
    f.Close();
    auto saved = platform::DecodePlacement(f.store.QueryValue(LayoutKey, L"Main")->data);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->left, 40);
    EXPECT_EQ(saved->right - saved->left, 600);
    EXPECT_EQ(f.store.QueryDword(LayoutKey, L"ToolBar"), 0u);
}

TEST(MainFrame, MenusCarryTheirTextsAndFileExitCloses) {
    GuiFixture f;
    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    f.Start();
    PumpUntil([&] { return f.dialogs.Done(); });
    wxMenuBar* bar = f.frame->GetMenuBar();
    const wxString menus[] = {wxT("&File"), wxT("&Edit"), wxT("&View"), wxT("Tools"), wxT("&Help")};
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(bar->GetMenuLabel(i), menus[i]);
    }
    const std::pair<int, const wchar_t*> items[] = {{CmdConnect, L"Connect..."},
                                                    {CmdDisconnect, L"Disconnect"},
                                                    {CmdNewDirectory, L"New Directory...\tIns"},
                                                    {CmdRename, L"Rename\tF2"},
                                                    {CmdDelete, L"&Delete\tDel"},
                                                    {CmdProperties, L"Properties\tF4"},
                                                    {CmdExit, L"E&xit"},
                                                    {CmdCopy, L"&Copy\tCtrl+C"},
                                                    {CmdPaste, L"&Paste\tCtrl+V"},
                                                    {CmdIcons, L"&Icons"},
                                                    {CmdList, L"&List"},
                                                    {CmdDetails, L"&Details"},
                                                    {CmdChmod, L"CHMOD..."},
                                                    {CmdWebSite, L"Visit PellixSoftware WebSite"},
                                                    {CmdAbout, L"&About Pellix FTP..."}};
    for (const auto& [id, text] : items) {
        wxMenuItem* item = bar->FindItem(WxId(id));
        ASSERT_NE(item, nullptr) << id;
        EXPECT_EQ(item->GetItemLabel(), wxString(text)) << id;
    }
    // Not connected: only Connect, the view modes and the rest that are always on.
    f.frame->UpdateWindowUI(wxUPDATE_UI_RECURSE);
    EXPECT_TRUE(bar->IsEnabled(WxId(CmdConnect)));
    for (int id : {CmdDisconnect, CmdNewDirectory, CmdRename, CmdDelete, CmdProperties, CmdCopy,
                   CmdPaste, CmdChmod}) {
        EXPECT_FALSE(bar->IsEnabled(WxId(id))) << id;
    }
    EXPECT_TRUE(bar->IsChecked(WxId(CmdDetails)));
    wxCommandEvent exit(wxEVT_MENU, WxId(CmdExit));
    f.frame->GetEventHandler()->ProcessEvent(exit);
    EXPECT_TRUE(PumpUntil([&] { return !f.frame; }));
    EXPECT_TRUE(f.store.QueryValue(LayoutKey, L"Main")) << "the menu's Exit saves the layout too";
}

TEST(MainFrame, StatusTextFromAWorkerThreadAndTheReadyTimer) {
    GuiFixture f;
    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) { d.EndModal(wxID_CANCEL); });
    f.Start();
    PumpUntil([&] { return f.dialogs.Done(); });
    std::thread worker([] { PostStatusText(0, L"226 Transfer complete"); });
    worker.join();
    EXPECT_TRUE(PumpUntil(
        [&] { return f.frame->GetStatusBar()->GetStatusText(0) == wxT("226 Transfer complete"); }));
    f.frame->ReadyTimer().Start(50);
    EXPECT_TRUE(
        PumpUntil([&] { return f.frame->GetStatusBar()->GetStatusText(0) == wxT("Ready"); }));
}

TEST(ToolBarEx, StripImagesAndCaptions) {
    std::vector<wxBitmap> images = CToolBarEx::LoadTrueColorImages();
    ASSERT_EQ(images.size(), 10u);
    for (const wxBitmap& image : images) {
        EXPECT_EQ(image.GetSize(), wxSize(32, 32));
        EXPECT_TRUE(image.GetMask() != nullptr || image.HasAlpha()) << "the mask colour is clear";
    }
    EXPECT_EQ(CToolBarEx::CaptionOf(wxT("Connect to a site\nConnect")), wxT("Connect"));
    EXPECT_EQ(CToolBarEx::CaptionOf(wxT("Paste")), wxT("Paste"));
}
