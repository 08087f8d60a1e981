#include <gtest/gtest.h>
#include <thread>
#include <wx/menu.h>
#include <wx/weakref.h>

#include "app/MainFrame.h"
#include "app/WxUiBridge.h"
#include "connection/StatusText.h"
#include "tests/gui/GuiTestSupport.h"

namespace {

struct FrameFixture {
    CWxStatusBarTarget statusTarget;
    wxWeakRef<CMainFrame> frame = new CMainFrame(wxT("Disconnected"), statusTarget);

    FrameFixture() { frame->Show(); }
    ~FrameFixture() {
        if (frame) {
            frame->Destroy();
            guitest::PumpUntil([this] { return !frame; });
        }
    }
};

} // namespace

TEST(MainFrame, CaptionShowsDocumentTitleAndProgramName) {
    FrameFixture f;
    EXPECT_EQ(f.frame->GetTitle(), wxT("Disconnected - Pellix FTP"));
    f.frame->SetDocumentTitle(wxT("site (host:21)"));
    EXPECT_EQ(f.frame->GetTitle(), wxT("site (host:21) - Pellix FTP"));
}

TEST(MainFrame, FileExitClosesTheWindow) {
    FrameFixture f;
    ASSERT_TRUE(guitest::PumpUntil([&] { return f.frame->IsShownOnScreen(); }));
    wxMenuBar* bar = f.frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetMenuLabel(0), wxT("&File"));
    wxCommandEvent exit(wxEVT_MENU, wxID_EXIT);
    f.frame->GetEventHandler()->ProcessEvent(exit);
    EXPECT_TRUE(guitest::PumpUntil([&] { return !f.frame; }));
}

TEST(MainFrame, CloseBoxClosesTheWindow) {
    FrameFixture f;
    f.frame->Close();
    EXPECT_TRUE(guitest::PumpUntil([&] { return !f.frame; }));
}

TEST(MainFrame, StatusTextFromAWorkerThreadReachesPaneZero) {
    FrameFixture f;
    std::thread worker([] { PostStatusText(0, L"226 Transfer complete"); });
    worker.join();
    EXPECT_TRUE(guitest::PumpUntil(
        [&] { return f.frame->GetStatusBar()->GetStatusText(0) == wxT("226 Transfer complete"); }));
}
