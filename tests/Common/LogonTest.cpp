// The nine logon sequences as transcripts: what the server answers -> the
// exact command lines the client sends -> the result and the boxes shown.

#include <gtest/gtest.h>

#include "Common/LogonTable.h"
#include "tests/support/ClientFixture.h"

using namespace nsFTP;
using testsupport::ClientFixture;
using testsupport::CScriptedPeer;

namespace {

struct Exchange {
    std::string command;
    std::string reply;
};

struct LogonCase {
    const char* label;
    int type;
    int port; // the server's port; the peer stands in for the server or the firewall
    std::vector<Exchange> exchanges;
    bool loggedOn;
    std::vector<std::wstring> boxes;
};

void PrintTo(const LogonCase& c, std::ostream* out) {
    *out << c.label;
}

const Exchange Pwd{"PWD", "257 \"/home/bob\" is the current directory"};

LogonParameters ParametersFor(const LogonCase& c, unsigned short peerPort) {
    LogonParameters p;
    p.user = L"bob";
    p.password = L"pw";
    p.account = L"acc";
    p.firewallUser = L"fwu";
    p.firewallPassword = L"fwp";
    p.logonType = c.type;
    if (c.type == 0) {
        p.host = L"127.0.0.1";
        p.port = peerPort;
    } else {
        p.host = L"ftp.example";
        p.port = c.port;
        p.firewallHost = L"127.0.0.1";
        p.firewallPort = peerPort;
    }
    return p;
}

} // namespace

class LogonSequences : public ::testing::TestWithParam<LogonCase> {};

TEST_P(LogonSequences, SendTheTableCommandsInOrder) {
    const LogonCase& c = GetParam();
    CScriptedPeer peer;
    peer.Send("220 proxy ready\r\n");
    std::vector<std::string> expected;
    for (const Exchange& e : c.exchanges) {
        peer.Expect(e.command).Send(e.reply + "\r\n");
        expected.push_back(e.command);
    }
    peer.Start();
    ClientFixture f;
    std::wstring directory;
    EXPECT_EQ(f.client->LogOn(ParametersFor(c, peer.Port()), 5), c.loggedOn);
    EXPECT_EQ(f.messages.Texts(), c.boxes);
    if (c.loggedOn) {
        EXPECT_EQ(f.client->QueryCurrentDirectory(directory), 0);
        EXPECT_EQ(directory, L"/home/bob");
    }
    f.client->CloseControlConnection();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
    EXPECT_EQ(peer.Received(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Types, LogonSequences,
    ::testing::Values(
        LogonCase{"direct230ToUser", 0, 21, {{"USER bob", "230 in"}, Pwd}, true, {}},
        LogonCase{"directPassAndAccount",
                  0,
                  21,
                  {{"USER bob", "331 pass"}, {"PASS pw", "332 acct"}, {"ACCT acc", "230 in"}, Pwd},
                  true,
                  {}},
        LogonCase{"directAccountAskedTwice",
                  0,
                  21,
                  {{"USER bob", "331 pass"}, {"PASS pw", "332 acct"}, {"ACCT acc", "332 again"}},
                  false,
                  {L"Logon failed."}},
        LogonCase{"directWrongPassword",
                  0,
                  21,
                  {{"USER bob", "331 pass"}, {"PASS pw", "530 Login incorrect."}},
                  false,
                  {L"530 Login incorrect."}},
        LogonCase{"siteCommand",
                  1,
                  21,
                  {{"USER fwu", "331 fw pass"},
                   {"PASS fwp", "230 fw in"},
                   {"SITE ftp.example", "331 connected, send user"},
                   {"USER bob", "331 pass"},
                   {"PASS pw", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"siteCommandFirewallUserNeedsNoPassword",
                  1,
                  2121,
                  {{"USER fwu", "230 fw in"},
                   {"SITE ftp.example:2121", "331 connected"},
                   {"USER bob", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"siteCommand2xxRefuses",
                  1,
                  21,
                  {{"USER fwu", "331 fw pass"},
                   {"PASS fwp", "230 fw in"},
                   {"SITE ftp.example", "200 ok"}},
                  false,
                  {L"Logon failed."}},
        LogonCase{"userAtHostAfterFirewall",
                  2,
                  2121,
                  {{"USER fwu", "331 fw pass"},
                   {"PASS fwp", "230 fw in"},
                   {"USER bob@ftp.example:2121", "331 pass"},
                   {"PASS pw", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"open3xxGoesOn",
                  3,
                  21,
                  {{"OPEN ftp.example", "331 opened"},
                   {"USER bob", "331 pass"},
                   {"PASS pw", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"firewallThenDirect",
                  4,
                  21,
                  {{"USER fwu", "331 fw pass"},
                   {"PASS fwp", "230 fw in"},
                   {"USER bob", "331 pass"},
                   {"PASS pw", "332 acct"},
                   {"ACCT acc", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"firewallPassword3xxRefuses",
                  4,
                  21,
                  {{"USER fwu", "331 fw pass"}, {"PASS fwp", "332 what"}},
                  false,
                  {L"Logon failed."}},
        LogonCase{"userAtHostWithPort",
                  5,
                  2121,
                  {{"USER bob@ftp.example:2121", "331 pass"}, {"PASS pw", "230 in"}, Pwd},
                  true,
                  {}},
        LogonCase{"userAtHostPort21", 5, 21, {{"USER bob@ftp.example", "230 in"}, Pwd}, true, {}},
        LogonCase{"firewallUserAtHost",
                  6,
                  21,
                  {{"USER fwu@ftp.example", "331 fw pass"},
                   {"PASS fwp", "230 fw in"},
                   {"USER bob", "331 pass"},
                   {"PASS pw", "230 in"},
                   Pwd},
                  true,
                  {}},
        LogonCase{"userAtHostSpaceFirewallUser",
                  7,
                  21,
                  {{"USER bob@ftp.example fwu", "331 pass"}, {"PASS pw", "230 in"}, Pwd},
                  true,
                  {}},
        LogonCase{"userAtHostSpaceFirewallUser2xxRefuses",
                  7,
                  21,
                  {{"USER bob@ftp.example fwu", "230 odd"}},
                  false,
                  {L"Logon failed."}},
        LogonCase{"userAtFirewallUserAtHost",
                  8,
                  2121,
                  {{"USER bob@fwu@ftp.example:2121", "331 pass"}, {"PASS pw@fwp", "230 in"}, Pwd},
                  true,
                  {}},
        LogonCase{"pwdRefusedAfterLogon",
                  0,
                  21,
                  {{"USER bob", "230 in"}, {"PWD", "550 no directory"}},
                  false,
                  {L"550 no directory"}}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Logon, GreetingOtherThan2xxLeavesTheConnectionForTheNextLogon) {
    CScriptedPeer first;
    first.Send("120 Service ready in 5 minutes\r\n").Expect("QUIT").Send("221 bye\r\n");
    CScriptedPeer second;
    second.Send("220 ready\r\n")
        .Expect("USER bob")
        .Send("230 in\r\n")
        .Expect("PWD")
        .Send("257 \"/\"\r\n");
    first.Start();
    second.Start();
    ClientFixture f;
    LogonParameters p;
    p.host = L"127.0.0.1";
    p.port = first.Port();
    p.user = L"bob";
    EXPECT_FALSE(f.client->LogOn(p, 5));
    EXPECT_EQ(f.messages.Texts(), std::vector<std::wstring>{L"120 Service ready in 5 minutes"});
    EXPECT_TRUE(f.client->IsConnected());
    p.port = second.Port();
    EXPECT_TRUE(f.client->LogOn(p, 5));
    first.Finish();
    EXPECT_EQ(first.Received(), std::vector<std::string>{"QUIT"});
    EXPECT_EQ(f.client->TimeoutSeconds(), 5);
    f.client->CloseControlConnection();
    second.Finish();
    EXPECT_EQ(second.Failures(), "");
}

TEST(Logon, HostPartAndCommandCodes) {
    LogonParameters p;
    p.host = L"h";
    p.user = L"u";
    p.password = L"p";
    p.account = L"a";
    p.firewallUser = L"fu";
    p.firewallPassword = L"fp";
    EXPECT_EQ(LogonHostPart(p), L"h");
    p.port = 2121;
    const std::wstring hostPart = LogonHostPart(p);
    EXPECT_EQ(hostPart, L"h:2121");
    const wchar_t* expected[] = {L"USER u",           L"PASS p",           L"ACCT a",
                                 L"USER fu",          L"PASS fp",          L"SITE h:2121",
                                 L"USER u@h:2121",    L"OPEN h:2121",      L"USER fu@h:2121",
                                 L"USER u@h:2121 fu", L"USER u@fu@h:2121", L"PASS p@fp"};
    for (int code = 0; code < 12; ++code) {
        EXPECT_EQ(LogonCommand(code, p, hostPart), expected[code]) << code;
    }
    EXPECT_EQ(LogonCommand(12, p, hostPart), L"");
}
