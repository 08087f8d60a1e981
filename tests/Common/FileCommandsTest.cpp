// Logon and the file and directory commands against real servers, plus the
// replies only a scripted peer produces.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "Common/DirectoryReply.h"
#include "tests/support/RealServerFixture.h"

using namespace nsFTP;
using testsupport::ClientFixture;
using testsupport::CScriptedPeer;
using testsupport::RealServerTest;
namespace fs = std::filesystem;

class FileCommands : public RealServerTest {};

TEST_P(FileCommands, LogOnWithPasswordAndAnonymously) {
    LogOn();
    std::wstring directory;
    EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
    EXPECT_EQ(directory, L"/");
    EXPECT_TRUE(f.messages.Shown().empty());

    ClientFixture anonymous;
    LogonParameters p = Logon();
    p.user = L"anonymous";
    p.password = L"guest@example.com";
    EXPECT_TRUE(anonymous.client->LogOn(p, 10));
    EXPECT_TRUE(anonymous.messages.Shown().empty());
}

TEST_P(FileCommands, WrongPasswordShowsTheServersText) {
    LogonParameters p = Logon();
    p.password = L"wrong";
    EXPECT_FALSE(f.client->LogOn(p, 10));
    auto texts = f.messages.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(L"530 ", 0), 0u) << testing::PrintToString(texts[0]);
}

TEST_P(FileCommands, DirectoriesFilesAndRenames) {
    LogOn();
    EXPECT_EQ(f.client->CreateRemoteDirectory(L"made", true), 0);
    EXPECT_TRUE(fs::is_directory(server->Root() / "made"));

    // An existing directory: refused; the box only when asked for.
    std::size_t posted = f.statusBar.Texts().size();
    EXPECT_EQ(f.client->CreateRemoteDirectory(L"made", false), 1);
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_EQ(f.statusBar.Texts().size(), posted + 1) << "the reply is still posted";
    EXPECT_EQ(f.client->CreateRemoteDirectory(L"made", true), 1);
    EXPECT_EQ(f.messages.Shown().size(), 1u);
    f.messages.Clear();

    // CWD keeps the path as given; PWD is answered from the cache.
    EXPECT_EQ(f.client->ChangeDirectory(L"made"), 0);
    std::size_t before = f.ReceiveCount();
    std::wstring directory;
    EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
    EXPECT_EQ(directory, L"made");
    EXPECT_EQ(f.ReceiveCount(), before) << "PWD was sent although the cache knew the answer";
    EXPECT_EQ(f.client->ChangeDirectory(L"/no/such/dir"), 1);
    EXPECT_EQ(f.messages.Shown().size(), 1u);
    f.messages.Clear();
    EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
    EXPECT_EQ(directory, L"made") << "a refused CWD leaves the cache";
    EXPECT_EQ(f.client->ChangeDirectory(L"/"), 0);

    std::ofstream(server->Root() / "old.txt") << "content";
    server->HandOver(server->Root() / "old.txt");
    EXPECT_EQ(f.client->RenameRemote(L"old.txt", L"made/new.txt"), 0);
    EXPECT_TRUE(fs::exists(server->Root() / "made" / "new.txt"));
    EXPECT_EQ(f.client->RenameRemote(L"missing.txt", L"x.txt"), 1);
    EXPECT_EQ(f.messages.Shown().size(), 1u);
    f.messages.Clear();

    EXPECT_EQ(f.client->SendSiteCommand(L"CHMOD 600 made/new.txt"), 0);
    struct stat info {};
    ASSERT_EQ(::stat((server->Root() / "made" / "new.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);

    EXPECT_EQ(f.client->DeleteRemoteFile(L"made/new.txt"), 0);
    EXPECT_FALSE(fs::exists(server->Root() / "made" / "new.txt"));
    EXPECT_EQ(f.client->DeleteRemoteFile(L"made/new.txt"), 1);
    EXPECT_EQ(f.client->RemoveRemoteDirectory(L"made"), 0);
    EXPECT_FALSE(fs::exists(server->Root() / "made"));
    EXPECT_EQ(f.messages.Shown().size(), 1u);
}

TEST_P(FileCommands, KeepAliveIsSilent) {
    LogOn();
    std::size_t posted = f.statusBar.Texts().size();
    EXPECT_EQ(f.client->SendKeepAlive(), 0);
    EXPECT_EQ(f.statusBar.Texts().size(), posted);
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_EQ(f.client->Quit(), 0);
    EXPECT_EQ(f.client->SendKeepAlive(), -1);
    EXPECT_TRUE(f.messages.Shown().empty());
}

PELLIX_FOR_EACH_SERVER(FileCommands);

TEST(DirectoryReply, PathFromPwdReplies) {
    struct Row {
        std::wstring reply;
        std::wstring path;
    } rows[] = {
        {L"257 \"/home/bob\" is the current directory", L"/home/bob"},
        {L"257 \"/a b\" is current", L"/a b"},
        {L"257 \"/it's here\"", L"/it's here"},
        {L"257 \"/say \"\"hi\"\"\" created", L"/say \"hi\""},
        {L"257 '/quoted'", L"/quoted"},
        {L"257 /plain is current", L"/plain"},
        {L"257 \"unterminated", L"unterminated"},
        {L"257 \"\"", L""},
        {L"257 \" ", L""},
        {L"257", L""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ParseDirectoryReply(row.reply), row.path) << testing::PrintToString(row.reply);
    }
}

TEST(FileCommandsScripted, RenameRefusalsAndPwdAskedOnce) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n")
        .Expect("USER u")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n")
        .Expect("RNFR a")
        .Send("550 No such file\r\n")
        .Expect("RNFR b")
        .Send("200 odd\r\n")
        .Expect("RNFR c")
        .Send("350 ready\r\n")
        .Expect("RNTO d")
        .Send("250 renamed\r\n")
        .Expect("CWD ..")
        .Send("250 ok\r\n");
    peer.Start();
    ClientFixture f;
    LogonParameters p;
    p.host = L"127.0.0.1";
    p.port = peer.Port();
    p.user = L"u";
    ASSERT_TRUE(f.client->LogOn(p, 5));
    std::wstring directory;
    EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
    EXPECT_EQ(f.client->RenameRemote(L"a", L"x"), 1);
    EXPECT_EQ(f.client->RenameRemote(L"b", L"x"), -1);
    EXPECT_EQ(f.client->RenameRemote(L"c", L"d"), 0);
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::wstring>{L"550 No such file", L"200 odd"}));
    EXPECT_EQ(f.client->ChangeDirectory(L".."), 0);
    EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
    EXPECT_EQ(directory, L"..");
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}
