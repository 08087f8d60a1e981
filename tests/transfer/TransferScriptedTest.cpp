// Jobs against a scripted server, for what real servers do not do on
// demand: hostile names, a data connection cut mid-file, an exact order.

#include <gtest/gtest.h>

#include "tests/support/DataListener.h"
#include "tests/support/TransferFixture.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct ScriptedJob {
    CDataListener data;
    CScriptedPeer peer;
    CTempDir local;
    platform::CSettingsStore store{local / ".settings.reg"};
    ClientFixture ui;
    CServerConnection connection{store};
    CHeadlessTransferWindow window;

    ScriptedJob() {
        peer.Send("220 hi\r\n")
            .Expect("USER u")
            .Send("230 in\r\n")
            .Expect("PWD")
            .Send("257 \"/\"\r\n");
    }
    // A passive LIST or RETR whose data connection sends the bytes.
    CScriptedPeer& Data(const std::string& command, const std::string& bytes,
                        const std::string& final = "226 done") {
        return peer.Expect("PASV")
            .Send(data.PassiveReply())
            .Expect(command)
            .Send("150 here\r\n")
            .Run([this, bytes](int) { data.AcceptAndSend(bytes); })
            .Send(final + "\r\n");
    }
    void Connect() {
        peer.Start();
        SiteRecord site;
        SetText(site.host, L"127.0.0.1");
        site.port = peer.Port();
        SetText(site.userName, L"u");
        ASSERT_TRUE(connection.ConnectToSite(site));
    }
    int Run(std::unique_ptr<TransferList> list, const std::wstring& target, TransferMode mode) {
        CTransferDialogCore core(connection, std::move(list), target, mode, window);
        return window.Run(core);
    }
    std::vector<std::string> Finish() {
        connection.Client().CloseControlConnection();
        peer.Finish();
        EXPECT_EQ(peer.Failures(), "");
        return peer.Received();
    }
};

std::string Line(const std::string& name, int size = 7) {
    return "-rw-r--r-- 1 u g " + std::to_string(size) + " Jan 1 2020 " + name + "\r\n";
}

} // namespace

TEST(TransferScripted, HostileNamesNeverLeaveTheTargetFolder) {
    ScriptedJob job;
    job.Data("LIST /d",
             "drwxr-xr-x 2 u g 0 Jan 1 2020 ..\r\n" + Line("../evil") + Line("a/b") + Line("good"));
    job.peer.Expect("TYPE I").Send("200 ok\r\n");
    job.Data("RETR /d/good", "content");
    job.Connect();
    fs::create_directories(job.local / "target");
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(0, 1, L"d", L"/d", {});
    EXPECT_EQ(job.Run(std::move(list), (job.local / "target").wstring(), ModeDownload),
              platform::IdOk);
    EXPECT_EQ(ReadBytes(job.local / "target/d/good"), "content");
    EXPECT_FALSE(fs::exists(job.local / "target/evil"));
    EXPECT_FALSE(fs::exists(job.local / "evil"));
    EXPECT_FALSE(fs::exists(job.local / "target/d/a"));
    auto texts = job.ui.messages.Texts();
    ASSERT_EQ(texts.size(), 1u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], L"The server listed names that cannot be used as file names. These entries "
                        L"were left out:\n\n/d/../evil\n/d/a/b");
    job.Finish();
}

TEST(TransferScripted, HostileTopLevelNameIsNotDownloaded) {
    ScriptedJob job;
    job.Connect();
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(3, 0, L"../escape", L"/../escape", {});
    fs::create_directories(job.local / "target");
    EXPECT_EQ(job.Run(std::move(list), (job.local / "target").wstring(), ModeDownload),
              platform::IdOk);
    EXPECT_FALSE(fs::exists(job.local / "escape"));
    EXPECT_EQ(job.ui.messages.Texts().size(), 1u);
    EXPECT_EQ(job.Finish().size(), 2u) << "no transfer was started";
}

TEST(TransferScripted, ADataConnectionCutMidFileKeepsTheOldFile) {
    ScriptedJob job;
    job.peer.Expect("TYPE I").Send("200 ok\r\n");
    job.Data("RETR /f", std::string(100, 'x'), "426 Connection closed; transfer aborted.");
    job.Connect();
    fs::create_directories(job.local / "target");
    WriteBytes(job.local / "target/f", "precious");
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(1000, 0, L"f", L"/f", {});
    job.window.answers = {platform::IdOk};
    EXPECT_EQ(job.Run(std::move(list), (job.local / "target").wstring(), ModeDownload),
              platform::IdOk);
    EXPECT_EQ(ReadBytes(job.local / "target/f"), "precious");
    EXPECT_EQ(job.ui.messages.Texts(),
              (std::vector<std::wstring>{L"426 Connection closed; transfer aborted.",
                                         L"Failed to download file:\n" +
                                             (job.local / "target/f").wstring()}));
    job.Finish();
}

TEST(TransferScripted, UnknownSizesAreAcceptedOnTheServersWord) {
    ScriptedJob job;
    job.peer.Expect("TYPE I").Send("200 ok\r\n");
    job.Data("RETR /vms.txt", "whatever size");
    job.Connect();
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(UnknownSize, 0, L"vms.txt", L"/vms.txt", {});
    EXPECT_EQ(job.Run(std::move(list), job.local.Path().wstring(), ModeDownload), platform::IdOk);
    EXPECT_EQ(ReadBytes(job.local / "vms.txt"), "whatever size");
    EXPECT_TRUE(job.ui.messages.Texts().empty());
    job.Finish();
}

TEST(TransferScripted, DeleteGoesLongestPathFirst) {
    ScriptedJob job;
    job.Data("LIST /A", Line("F") + "drwxr-xr-x 2 u g 0 Jan 1 2020 B\r\n");
    job.Data("LIST /A/B", Line("G"));
    job.peer.Expect("DELE /A/B/G").Send("250 ok\r\n").Expect("DELE /A/F").Send("250 ok\r\n");
    job.peer.Expect("RMD /A/B").Send("250 ok\r\n").Expect("RMD /A").Send("250 ok\r\n");
    job.Connect();
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(0, 1, L"A", L"/A", {});
    EXPECT_EQ(job.Run(std::move(list), L"/", ModeDelete), platform::IdOk);
    EXPECT_EQ(job.window.countText, L"Deleting 4 of 4");
    job.Finish();
}

TEST(TransferScripted, CancelDuringExpansionTakesEffectAfterIt) {
    ScriptedJob job;
    job.Data("LIST /d", Line("one") + Line("two"));
    job.Connect();
    auto list = std::make_unique<TransferList>(&job.connection);
    list->AddItem(0, 1, L"d", L"/d", {});
    job.window.pressCancelWhen = [](CHeadlessTransferWindow&) { return true; };
    EXPECT_EQ(job.Run(std::move(list), job.local.Path().wstring(), ModeDownload),
              platform::IdCancel);
    EXPECT_EQ(job.window.workerResult, platform::IdOk) << "the job still ended by itself";
    EXPECT_FALSE(fs::exists(job.local / "d"));
    auto received = job.Finish();
    EXPECT_EQ(received.back(), "LIST /d") << "the listing ran; nothing was fetched after it";
}

TEST(TransferDialogCore, ReportsAreCoalescedAndTheLastOneWins) {
    struct CountingWindow final : ITransferWindow {
        int wakes = 0;
        std::wstring count;
        std::vector<std::wstring> paths;
        std::uint64_t position = 0, range = 0;
        int closed = 0;
        void RequestWake() override { ++wakes; }
        void ShowPathText(const std::wstring& text) override { paths.push_back(text); }
        void ShowCountText(const std::wstring& text) override { count = text; }
        void SetBar(std::uint64_t p, std::uint64_t r) override {
            position = p;
            range = r;
        }
        void OnWorkerClose(int result) override { closed = result; }
        int AskReplaceOnWindowThread(bool, const std::wstring&, const std::wstring&,
                                     const std::wstring&) override {
            return platform::IdOk;
        }
    } window;
    CTempDir dir;
    platform::CSettingsStore store(dir / "s.reg");
    CServerConnection connection(store);
    CTransferDialogCore core(connection, nullptr, L"/", ModeUpload, window);
    EXPECT_FALSE(core.Start()) << "no list: no worker";
    core.SetProgressRange(3000);
    core.PostCurrentPath(L"/first");
    for (std::uint64_t p = 1; p <= 100000; ++p) {
        core.PostPosition(p % 3001);
    }
    core.PostCurrentPath(L"/last");
    core.PostPosition(3000);
    core.PostClose(platform::IdOk);
    EXPECT_EQ(window.wakes, 1) << "one wake-up pending at a time";
    core.OnWake();
    EXPECT_EQ(window.paths, std::vector<std::wstring>{L"/last"});
    EXPECT_EQ(window.count, L"Uploading 2 Kb of 2 Kb");
    EXPECT_EQ(window.position, 3000u);
    EXPECT_EQ(window.range, 3000u);
    EXPECT_EQ(window.closed, platform::IdOk);
    core.PostPosition(1);
    core.OnWake();
    EXPECT_EQ(window.position, 3000u) << "reports after the end are dropped";
}
