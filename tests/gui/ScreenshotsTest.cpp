// Pictures for the README, taken by scripts/screenshots (not a test run by
// ctest): the main window connected to a demo tree, the Site Manager, Site
// Properties and the About box.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/dcscreen.h>
#include <wx/image.h>

#include "app/AboutDlg.h"
#include "sites/SiteList.h"
#include "sites/SiteManagerDlg.h"
#include "sites/SitePropDlg.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/RealServerFixture.h"

using namespace guitest;
namespace fs = std::filesystem;

namespace {

fs::path OutputDir() {
    const char* dir = std::getenv("PELLIX_SCREENSHOT_DIR");
    return dir ? fs::path(dir) : fs::path();
}

void Capture(wxWindow& window, const std::string& name) {
    window.Raise();
    window.Refresh();
    window.Update();
    Pump(1000);
    const wxRect rect = window.GetScreenRect();
    wxBitmap bitmap(rect.GetWidth(), rect.GetHeight());
    {
        wxScreenDC screen;
        wxMemoryDC memory(bitmap);
        memory.Blit(0, 0, rect.GetWidth(), rect.GetHeight(), &screen, rect.GetX(), rect.GetY());
    }
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) {
        wxImage::AddHandler(new wxPNGHandler);
    }
    ASSERT_TRUE(bitmap.SaveFile((OutputDir() / (name + ".png")).string(), wxBITMAP_TYPE_PNG));
}

void Sample(const fs::path& root) {
    const std::pair<const char*, std::size_t> files[] = {
        {"README.txt", 96},         {"pub/notes.txt", 18},           {"pub/data.csv", 27},
        {"pub/photo.jpg", 482133},  {"pub/archive.tar.gz", 5242880}, {"docs/manual.html", 4210},
        {"docs/guide.pdf", 180224}, {"images/logo.png", 12044},      {"setup.sh", 880}};
    for (const auto& [name, size] : files) {
        fs::create_directories((root / name).parent_path());
        std::ofstream(root / name) << std::string(size, 'x');
    }
    fs::create_directories(root / "upload");
}

} // namespace

TEST(Screenshots, MainWindowAndDialogs) {
    if (OutputDir().empty()) {
        GTEST_SKIP() << "set PELLIX_SCREENSHOT_DIR";
    }
    auto server = testsupport::CTestFtpServer::Start(testsupport::ServerKind::Pyftpdlib);
    Sample(server->Root());
    GuiFixture f;
    SiteList sites(f.store);
    SiteRecord demo;
    SetText(demo.label, L"Local demo server");
    SetText(demo.host, L"127.0.0.1");
    demo.port = server->Port();
    SetText(demo.userName, testsupport::Wide(server->User()));
    SetText(demo.password, testsupport::Wide(server->Password()));
    sites.AddSite(demo);
    SiteRecord other;
    SetText(other.label, L"Mirror (example)");
    SetText(other.host, L"ftp.example.org");
    other.anonymous = 1;
    sites.AddSite(other);

    f.dialogs.Then(wxT("Site Manager"), [](wxDialog& d) {
        auto& manager = dynamic_cast<CSiteManager&>(d);
        wxTreeItemIdValue cookie;
        manager.Tree()->SelectItem(
            manager.Tree()->GetFirstChild(manager.Tree()->GetRootItem(), cookie));
        d.Fit();
        Capture(d, "site-manager");
        Click(d, CSiteManager::EditId);
        Click(d, CSiteManager::ConnectId);
    });
    f.dialogs.Then(wxT("Site Properties"), [](wxDialog& d) {
        Capture(d, "site-properties");
        d.EndModal(wxID_CANCEL);
    });
    f.Start();
    ASSERT_TRUE(
        PumpUntil([&] { return f.dialogs.Done() && f.frame->View()->IsConnected(); }, 15000));
    f.frame->View()->List()->SetItemState(1, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    f.frame->SetSize(0, 0, 820, 520);
    Capture(*f.frame, "main-window");

    f.dialogs.Then(wxT("About Pellix FTP"), [](wxDialog& d) {
        Capture(d, "about");
        d.EndModal(wxID_OK);
    });
    CAboutDlg(f.frame).ShowModal();
}
