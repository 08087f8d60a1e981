// Listings and block transfers over passive and active data connections.

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

#include "Common/PassiveReply.h"
#include "tests/support/DataListener.h"
#include "tests/support/RealServerFixture.h"

using namespace nsFTP;
using testsupport::CDataListener;
using testsupport::ClientFixture;
using testsupport::CScriptedPeer;
using testsupport::RealServerTest;
namespace fs = std::filesystem;

namespace {

using Entries = std::vector<nsSP::RCIPtr<CFTPFileStatus>>;

std::string RandomBytes(std::size_t size) {
    std::mt19937_64 generator(42);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator());
    }
    return bytes;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const CFTPFileStatus* Find(const Entries& entries, const std::wstring& name) {
    for (const auto& e : entries) {
        if (e->name == name) {
            return e.get();
        }
    }
    return nullptr;
}

// Logs on to a scripted peer: USER -> 230, PWD -> "/".
CScriptedPeer& ScriptLogon(CScriptedPeer& peer) {
    return peer.Send("220 hi\r\n")
        .Expect("USER u")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n");
}

LogonParameters PeerLogon(const CScriptedPeer& peer) {
    LogonParameters p;
    p.host = L"127.0.0.1";
    p.port = peer.Port();
    p.user = L"u";
    return p;
}

} // namespace

class DataConnections : public RealServerTest {
protected:
    void MakeTree() {
        fs::create_directory(server->Root() / "sub");
        std::ofstream(server->Root() / "a.txt") << "abc";
        std::ofstream(server->Root() / "name with space.txt") << "12345";
        std::ofstream(server->Root() / "sub" / "inner.bin") << "x";
        server->HandOver(server->Root());
    }
};

TEST_P(DataConnections, ListsRealDirectoriesInBothModes) {
    MakeTree();
    LogOn();
    for (bool passive : {true, false}) {
        Entries entries;
        ASSERT_TRUE(f.client->ListDirectory(L"", entries, passive)) << passive;
        const CFTPFileStatus* a = Find(entries, L"a.txt");
        const CFTPFileStatus* spaced = Find(entries, L"name with space.txt");
        const CFTPFileStatus* sub = Find(entries, L"sub");
        ASSERT_TRUE(a && spaced && sub) << passive;
        EXPECT_EQ(a->size, 3);
        EXPECT_TRUE(a->tryRetr);
        EXPECT_EQ(spaced->size, 5);
        EXPECT_TRUE(sub->tryCwd);
        EXPECT_FALSE(sub->tryRetr);
        EXPECT_EQ(a->path, L"");
        EXPECT_GT(a->modificationTime, 0);

        Entries inner;
        ASSERT_TRUE(f.client->ListDirectory(L"sub", inner, passive));
        ASSERT_EQ(inner.size(), 1u);
        EXPECT_EQ(inner[0]->name, L"inner.bin");
        EXPECT_EQ(inner[0]->path, L"sub");
    }
    EXPECT_TRUE(f.messages.Shown().empty());
}

TEST_P(DataConnections, FilesMoveByteIdenticalInBothModes) {
    const std::string content = RandomBytes(5 * 1024 * 1024 + 123);
    std::ofstream(server->Root() / "source.bin", std::ios::binary) << content;
    server->HandOver(server->Root());
    LogOn();
    std::vector<char> block(64 * 1024);
    for (bool passive : {true, false}) {
        // Download.
        auto data = f.client->OpenTransfer(L"source.bin", passive, false);
        ASSERT_TRUE(data) << testing::PrintToString(f.messages.Texts());
        std::string received;
        int got = 0;
        for (int rounds = 0; rounds < 100000; ++rounds) {
            ASSERT_TRUE(
                f.client->ReceiveBlock(*data, block.data(), static_cast<int>(block.size()), got));
            if (got == 0) {
                break;
            }
            received.append(block.data(), static_cast<std::size_t>(got));
        }
        EXPECT_TRUE(f.client->CloseTransfer(std::move(data)));
        EXPECT_EQ(received.size(), content.size());
        EXPECT_TRUE(received == content) << "download differs, passive=" << passive;

        // Upload.
        const std::wstring target = passive ? L"up-passive.bin" : L"up-active.bin";
        data = f.client->OpenTransfer(target, passive, true);
        ASSERT_TRUE(data);
        for (std::size_t offset = 0; offset < content.size(); offset += block.size()) {
            int size = static_cast<int>(std::min(block.size(), content.size() - offset));
            int sent = 0;
            ASSERT_TRUE(f.client->SendBlock(*data, content.data() + offset, size, sent));
            EXPECT_EQ(sent, size);
        }
        EXPECT_TRUE(f.client->CloseTransfer(std::move(data)));
        EXPECT_TRUE(ReadAll(server->Root() / std::string(target.begin(), target.end())) == content)
            << "upload differs, passive=" << passive;
    }
    EXPECT_TRUE(f.messages.Shown().empty());
}

TEST_P(DataConnections, NoListingWhileATransferIsOpen) {
    std::ofstream(server->Root() / "f.bin") << "data";
    server->HandOver(server->Root());
    LogOn();
    auto data = f.client->OpenTransfer(L"f.bin", true, false);
    ASSERT_TRUE(data);
    Entries entries;
    EXPECT_FALSE(f.client->ListDirectory(L"", entries, true));
    EXPECT_TRUE(f.messages.Shown().empty());
    // Read to the end: closing a download early makes some servers answer 426.
    char block[64];
    int got = 0;
    for (int i = 0; i < 100 && f.client->ReceiveBlock(*data, block, sizeof block, got) && got > 0;
         ++i) {
    }
    EXPECT_TRUE(f.client->CloseTransfer(std::move(data)));
    std::size_t posted = f.statusBar.Texts().size();
    EXPECT_TRUE(f.client->CloseTransfer(nullptr));
    EXPECT_EQ(f.statusBar.Texts().size(), posted) << "CloseTransfer(nullptr) talked to the server";
    EXPECT_TRUE(f.client->ListDirectory(L"", entries, true))
        << testing::PrintToString(f.messages.Texts());
}

TEST_P(DataConnections, MissingFileIsRefusedWithTheServersText) {
    LogOn();
    EXPECT_FALSE(f.client->OpenTransfer(L"missing.bin", true, false));
    auto texts = f.messages.Texts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind(L"550", 0), 0u);
    EXPECT_FALSE(f.client->TransferInProgress());
}

PELLIX_FOR_EACH_SERVER(DataConnections);

TEST(DataConnectionsScripted, TypeIsSentOnlyWhenTheKindChanges) {
    CDataListener data;
    CScriptedPeer peer;
    ScriptLogon(peer)
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndSend("-rw-r--r-- 1 u g 1 Jan 1 2020 f\r\n"); })
        .Send("226 done\r\n")
        .Expect("TYPE I")
        .Send("200 binary\r\n")
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("RETR f")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndSend("x"); })
        .Send("226 done\r\n")
        .Expect("TYPE A N")
        .Send("200 ascii\r\n")
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST d")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndSend(""); })
        .Send("226 done\r\n")
        .Expect("TYPE I")
        .Send("200 binary\r\n")
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("RETR f")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndSend("x"); })
        .Send("226 done\r\n")
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("STOR g")
        .Send("150 go\r\n")
        .Run([&](int) {
            std::string ignored;
            data.AcceptAndReceive(ignored);
        })
        .Send("226 stored\r\n");
    peer.Start();
    ClientFixture f;
    ASSERT_TRUE(f.client->LogOn(PeerLogon(peer), 5));
    Entries entries;
    ASSERT_TRUE(f.client->ListDirectory(L"", entries, true));
    EXPECT_EQ(entries.size(), 1u);
    char block[16];
    int got = 0;
    for (const wchar_t* listing : {L"d", L""}) {
        auto socket = f.client->OpenTransfer(L"f", true, false);
        ASSERT_TRUE(socket);
        EXPECT_TRUE(f.client->ReceiveBlock(*socket, block, sizeof block, got));
        EXPECT_TRUE(f.client->ReceiveBlock(*socket, block, 0, got));
        EXPECT_EQ(got, 0);
        EXPECT_TRUE(f.client->CloseTransfer(std::move(socket)));
        if (*listing) {
            ASSERT_TRUE(f.client->ListDirectory(listing, entries, true));
            EXPECT_TRUE(entries.empty());
        }
    }
    auto upload = f.client->OpenTransfer(L"g", true, true);
    ASSERT_TRUE(upload);
    int sent = 0;
    EXPECT_TRUE(f.client->SendBlock(*upload, "abc", 3, sent));
    EXPECT_TRUE(f.client->CloseTransfer(std::move(upload)));
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
    EXPECT_TRUE(f.messages.Shown().empty()) << testing::PrintToString(f.messages.Texts());
}

TEST(DataConnectionsScripted, PassiveAddressOtherThanTheServersIsNotUsed) {
    // The peer listens on 127.0.0.1 only; a client that followed the
    // announced 127.0.0.2 would be refused.
    CDataListener data;
    CScriptedPeer peer;
    ScriptLogon(peer)
        .Expect("PASV")
        .Send(data.PassiveReply("127,0,0,2"))
        .Expect("LIST")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndSend("-rw-r--r-- 1 u g 1 Jan 1 2020 f\n"); })
        .Send("226 done\r\n");
    peer.Start();
    ClientFixture f;
    ASSERT_TRUE(f.client->LogOn(PeerLogon(peer), 5));
    Entries entries;
    EXPECT_TRUE(f.client->ListDirectory(L"", entries, true));
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_TRUE(f.messages.Shown().empty()) << testing::PrintToString(f.messages.Texts());
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}

TEST(DataConnectionsScripted, ListingLinesEndingInLfAndALastLineWithoutEnd) {
    CDataListener data;
    CScriptedPeer peer;
    ScriptLogon(peer)
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("150 here\r\n")
        .Run([&](int) {
            data.AcceptAndSend("total 3\n-rw-r--r-- 1 u g 1 Jan 1 2020 one\n"
                               "-rw-r--r-- 1 u g 2 Jan 1 2020 two\r\n"
                               "-rw-r--r-- 1 u g 3 Jan 1 2020 three");
        })
        .Send("226 done\r\n");
    peer.Start();
    ClientFixture f;
    ASSERT_TRUE(f.client->LogOn(PeerLogon(peer), 5));
    Entries entries;
    ASSERT_TRUE(f.client->ListDirectory(L"", entries, true));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0]->name, L"one");
    EXPECT_EQ(entries[1]->name, L"two");
    EXPECT_EQ(entries[2]->name, L"three");
    f.client->CloseControlConnection();
    peer.Finish();
}

TEST(DataConnectionsScripted, RefusalsAndTimeoutsOnTheDataConnection) {
    CDataListener data;
    CScriptedPeer peer;
    ScriptLogon(peer)
        // PASV without parentheses.
        .Expect("PASV")
        .Send("227 Entering Passive Mode 127,0,0,1,1,2\r\n")
        // LIST refused.
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("550 no\r\n")
        // The data connection opens but stays silent: a time-out, then the final reply.
        .Expect("PASV")
        .Send(data.PassiveReply())
        .Expect("LIST")
        .Send("150 here\r\n")
        .Run([&](int) { data.AcceptAndKeepOpen(); })
        .Send("426 aborted\r\n")
        // Active mode: the server never connects back.
        .ExpectAny()
        .Send("200 ok\r\n")
        .Expect("LIST")
        .Send("150 here\r\n")
        .Pause(2500);
    peer.Start();
    ClientFixture f;
    ASSERT_TRUE(f.client->LogOn(PeerLogon(peer), 1));
    Entries entries;
    auto kept = nsSP::MakeRC<CFTPFileStatus>();
    entries.push_back(kept);
    EXPECT_FALSE(f.client->ListDirectory(L"", entries, true));
    EXPECT_FALSE(f.client->ListDirectory(L"", entries, true));
    EXPECT_FALSE(f.client->ListDirectory(L"", entries, true));
    EXPECT_EQ(entries.size(), 1u) << "a failed listing keeps the caller's entries";
    EXPECT_FALSE(f.client->ListDirectory(L"", entries, false));
    auto texts = f.messages.Texts();
    ASSERT_EQ(texts.size(), 5u) << testing::PrintToString(texts);
    EXPECT_EQ(texts[0], L"227 Entering Passive Mode 127,0,0,1,1,2");
    EXPECT_EQ(texts[1], L"550 no");
    EXPECT_EQ(texts[2].rfind(L"Unable to receive data (receive timeout).", 0), 0u);
    EXPECT_EQ(texts[3], L"426 aborted");
    EXPECT_EQ(texts[4].rfind(L"The server did not open the data connection in time", 0), 0u);
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Received().at(7).rfind("PORT 127,0,0,1,", 0), 0u);
}

TEST(PassiveReply, Parses) {
    struct Row {
        std::wstring text;
        bool ok;
        std::uint32_t address;
        unsigned short port;
    } rows[] = {
        {L"227 Entering Passive Mode (192,168,1,2,19,137).", true, 0xC0A80102u, 5001},
        {L"227 =(127,0,0,1,4,1)", true, 0x7F000001u, 1025},
        {L"227 (1,2,3,300,0,1)", true, 0x0102032Cu + 0x100u, 1},
        {L"227 (1,2,3,4,1,300)", true, 0x01020304u, 256 + 300},
        {L"227 Entering Passive Mode 1,2,3,4,5,6", false, 0, 0},
        {L"227 (1,2,3,4, 5,6)", false, 0, 0},
        {L"227 (1,2,3,4,5)", false, 0, 0},
        {L"227 (1,2,3,4,5,6", false, 0, 0},
    };
    for (const Row& row : rows) {
        std::uint32_t address = 0;
        unsigned short port = 0;
        EXPECT_EQ(ParsePassiveReply(row.text, address, port), row.ok)
            << testing::PrintToString(row.text);
        if (row.ok) {
            EXPECT_EQ(address, row.address) << testing::PrintToString(row.text);
            EXPECT_EQ(port, row.port) << testing::PrintToString(row.text);
        }
    }
}

TEST(DataCommands, Texts) {
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::List, L""), L"LIST");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::List, L"/a b"), L"LIST /a b");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::Nlst, L""), L"NLST");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::Retr, L""), L"RETR ");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::Stor, L"x"), L"STOR x");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::Stou, L"x"), L"STOU x");
    EXPECT_EQ(CFTPClient::BuildDataCommand(DataCommand::Appe, L"x"), L"APPE x");
}

TEST(DataConnectionsScripted, AbortWithoutATransferSendsAbor) {
    CScriptedPeer peer;
    ScriptLogon(peer).Expect("ABOR").Send("225 No transfer to abort\r\n");
    peer.Start();
    ClientFixture f;
    ASSERT_TRUE(f.client->LogOn(PeerLogon(peer), 5));
    EXPECT_EQ(f.client->AbortTransfer(), 0);
    EXPECT_TRUE(f.messages.Shown().empty());
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}
