// The connection object against real servers, and the initial-directory and
// listing rules against the scripted peer.

#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>

#include "connection/ServerConnection.h"
#include "platform/SettingsStore.h"
#include "tests/support/DataListener.h"
#include "tests/support/RealServerFixture.h"
#include "tests/support/TempDir.h"

using testsupport::CDataListener;
using testsupport::CScriptedPeer;
using testsupport::CTempDir;
using testsupport::RealServerTest;
namespace fs = std::filesystem;

namespace {

struct ConnectionFixture {
    CTempDir dir;
    platform::CSettingsStore store{dir / "settings.reg"};
    testsupport::ClientFixture ui; // recording boxes and status texts
    CServerConnection connection{store};
};

SiteRecord SiteFor(unsigned short port, const std::wstring& user, const std::wstring& password) {
    SiteRecord site;
    SetText(site.label, L"test");
    SetText(site.host, L"127.0.0.1");
    site.port = port;
    SetText(site.userName, user);
    SetText(site.password, password);
    return site;
}

std::vector<std::wstring> Names(const std::vector<ListingEntry>& entries) {
    std::vector<std::wstring> names;
    for (const ListingEntry& e : entries) {
        names.push_back(e.name);
    }
    return names;
}

} // namespace

class ConnectionOnServer : public RealServerTest {
protected:
    SiteRecord NamedSite() const {
        return SiteFor(server->Port(), testsupport::Wide(server->User()),
                       testsupport::Wide(server->Password()));
    }
    ConnectionFixture c;
};

TEST_P(ConnectionOnServer, NamedAndAnonymousLogon) {
    PostStatusText(1, L"Directories: 9");
    ASSERT_TRUE(c.connection.ConnectToSite(NamedSite()));
    EXPECT_EQ(StatusSlotText(1), L"") << "the count panes are cleared";
    EXPECT_EQ(c.connection.CurrentDirectory(), L"/");
    EXPECT_EQ(GetText(c.connection.connectedSite.label), L"test");
    EXPECT_EQ(ConnectedTitle(c.connection.connectedSite),
              L"test (127.0.0.1:" + std::to_wstring(server->Port()) + L")");
    c.connection.Quit();
    EXPECT_FALSE(c.connection.IsConnected());

    SiteRecord anonymous = SiteFor(server->Port(), L"nobody-real", L"wrong");
    anonymous.anonymous = 1;
    EXPECT_TRUE(c.connection.ConnectToSite(anonymous));
    EXPECT_TRUE(c.ui.messages.Shown().empty()) << testing::PrintToString(c.ui.messages.Texts());

    SiteRecord wrong = NamedSite();
    SetText(wrong.password, L"wrong");
    SetText(wrong.label, L"other");
    EXPECT_FALSE(c.connection.ConnectToSite(wrong));
    EXPECT_EQ(GetText(c.connection.connectedSite.label), L"test")
        << "a failed logon keeps the old site";
}

TEST_P(ConnectionOnServer, InitialDirectoryUnderTheRoot) {
    fs::create_directories(server->Root() / "pub" / "sub");
    server->HandOver(server->Root());
    struct Row {
        std::wstring initial;
        std::wstring opened;
    } rows[] = {{L"/pub", L"/pub"},
                {L"pub", L"/pub"},
                {L"  \t ", L"/"},
                {L"\\pub\\sub ", L"/pub/sub"},
                {L"/missing", L"/"}};
    for (const Row& row : rows) {
        ASSERT_TRUE(c.connection.ConnectToSite(NamedSite()));
        c.ui.messages.Clear();
        c.connection.OpenInitialDirectory(row.initial);
        EXPECT_EQ(c.connection.WorkingDirectory(), row.opened)
            << testing::PrintToString(row.initial);
    }
}

TEST_P(ConnectionOnServer, RefreshListingSortsAndSplitsLinks) {
    fs::create_directory(server->Root() / "beta");
    fs::create_directory(server->Root() / "Alpha");
    fs::create_directory(server->Root() / "dir with space");
    std::ofstream(server->Root() / "dir with space" / "inside.txt") << "in";
    std::ofstream(server->Root() / "a.txt") << "abc";
    std::ofstream(server->Root() / "Zed.txt") << "z";
    fs::create_symlink("a.txt", server->Root() / "link");
    server->HandOver(server->Root());
    ASSERT_TRUE(c.connection.ConnectToSite(NamedSite()));
    c.connection.RefreshListing();
    EXPECT_EQ(Names(c.connection.listingCache),
              (std::vector<std::wstring>{L"Alpha", L"beta", L"dir with space", L"link", L"a.txt",
                                         L"Zed.txt"}));
    const ListingEntry& link = c.connection.listingCache[3];
    EXPECT_EQ(link.listedName, L"link -> a.txt");
    EXPECT_EQ(link.isLink, 1);
    EXPECT_EQ(link.isDirectory, 1);
    EXPECT_EQ(c.connection.listingCache[4].size, 3);
    EXPECT_EQ(c.connection.listingCache[4].directory, L"/");

    // A directory whose name holds a space lists too (some servers refuse
    // LIST with such a path).
    ASSERT_TRUE(c.connection.ChangeWorkingDirectory(L"/dir with space"));
    c.connection.RefreshListing();
    EXPECT_EQ(Names(c.connection.listingCache), std::vector<std::wstring>{L"inside.txt"});
    std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> entries;
    ASSERT_TRUE(c.connection.ChangeWorkingDirectory(L"/"));
    ASSERT_TRUE(c.connection.ListDirectory(L"/dir with space", entries));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0]->path, L"/dir with space");
    EXPECT_EQ(c.connection.WorkingDirectory(), L"/");
    EXPECT_TRUE(c.ui.messages.Shown().empty()) << testing::PrintToString(c.ui.messages.Texts());
}

PELLIX_FOR_EACH_SERVER(ConnectionOnServer);

namespace {

// A scripted server whose logon directory is /home/u.
CScriptedPeer& ScriptLogonHome(CScriptedPeer& peer) {
    return peer.Send("220 hi\r\n")
        .Expect("USER u")
        .Send("331 pass\r\n")
        .Expect("PASS p")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/home/u\"\r\n");
}

} // namespace

TEST(ConnectionScripted, InitialDirectoryRelativeToTheLogonDirectory) {
    struct Row {
        std::wstring initial;
        std::vector<std::pair<std::string, std::string>> exchanges;
    } rows[] = {
        {L"/home/u/www", {{"CWD /home/u/www", "250 ok"}}},
        {L"/HOME/U/www", {{"CWD /home/u/www", "250 ok"}}},
        {L"/var/www", {{"CWD /home/u/var/www", "550 no"}, {"CWD /home/u", "250 ok"}}},
        // Only a whole path component is the logon directory's prefix.
        {L"/home/user2", {{"CWD /home/u/home/user2", "250 ok"}}},
        {L"/home/u", {}},
        {L"   ", {}},
    };
    for (const Row& row : rows) {
        CScriptedPeer peer;
        ScriptLogonHome(peer);
        std::vector<std::string> expected = {"USER u", "PASS p", "PWD"};
        for (const auto& [command, reply] : row.exchanges) {
            peer.Expect(command).Send(reply + "\r\n");
            expected.push_back(command);
        }
        peer.Start();
        ConnectionFixture c;
        ASSERT_TRUE(c.connection.ConnectToSite(SiteFor(peer.Port(), L"u", L"p")));
        c.connection.OpenInitialDirectory(row.initial);
        c.connection.Client().CloseControlConnection();
        peer.Finish();
        EXPECT_EQ(peer.Failures(), "") << testing::PrintToString(row.initial);
        EXPECT_EQ(peer.Received(), expected) << testing::PrintToString(row.initial);
    }
}

TEST(ConnectionScripted, ListingDropsDotsAndAFailedListingLeavesTheCacheEmpty) {
    CDataListener data;
    CScriptedPeer peer;
    ScriptLogonHome(peer)
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("150 here\r\n")
        .Run([&](int) {
            data.AcceptAndSend("drwxr-xr-x 2 u g 4096 Jan 1 2020 .\r\n"
                               "drwxr-xr-x 2 u g 4096 Jan 1 2020 ..\r\n"
                               "-rw-r--r-- 1 u g 5 Jan 1 2020 file\r\n");
        })
        .Send("226 done\r\n")
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("550 gone\r\n");
    peer.Start();
    ConnectionFixture c;
    SiteRecord site = SiteFor(peer.Port(), L"u", L"p");
    ASSERT_TRUE(c.connection.ConnectToSite(site));
    c.connection.RefreshListing();
    EXPECT_EQ(Names(c.connection.listingCache), std::vector<std::wstring>{L"file"});
    EXPECT_EQ(c.connection.listingCache[0].directory, L"/home/u");
    c.connection.RefreshListing();
    EXPECT_TRUE(c.connection.listingCache.empty());
    c.connection.Client().CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}

TEST(ConnectionScripted, AnonymousSitesAndPortsModulo65536) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n")
        .Expect("USER anonymous")
        .Send("331 pass\r\n")
        .Expect(std::string("PASS ") + "pellixftp@example.com")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n");
    peer.Start();
    ConnectionFixture c;
    SiteRecord site = SiteFor(peer.Port(), L"someone", L"secret");
    site.anonymous = 1;
    site.port = peer.Port() + 65536;
    ASSERT_TRUE(c.connection.ConnectToSite(site));
    c.connection.Client().CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}

TEST(ConnectionScripted, KeepAliveLeavesTheClientToTheWorkerHoldingIt) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n")
        .Expect("USER u")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n");
    peer.Start();
    ConnectionFixture c;
    SiteRecord site = SiteFor(peer.Port(), L"u", L"");
    ASSERT_TRUE(c.connection.ConnectToSite(site));
    {
        auto lease = c.connection.HoldClient();
        // The user interface's calls on another thread return at once.
        std::async(std::launch::async, [&] {
            c.connection.SendKeepAlive();
            EXPECT_FALSE(c.connection.IsConnected());
            EXPECT_EQ(c.connection.WorkingDirectory(), L"");
        }).get();
        EXPECT_TRUE(c.connection.IsConnected()) << "the holder itself goes on";
    }
    c.connection.SendKeepAlive(); // the one PWD the peer sees after logon
    c.connection.connectedSite.keepAlive = 0;
    c.connection.SendKeepAlive();
    c.connection.Client().CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
    EXPECT_EQ(peer.Received(), (std::vector<std::string>{"USER u", "PWD", "PWD"}));
}
