// The control connection against the scripted peer: reply framing, the code
// rules, time-outs and refusals that real servers do not produce on demand.

#include <cstring>
#include <gtest/gtest.h>

#include "tests/support/ClientFixture.h"

using namespace nsFTP;
using testsupport::ClientFixture;
using testsupport::CScriptedPeer;

namespace {

struct ReplyCase {
    const char* label;
    std::vector<std::string> writes; // what the server sends, write by write
    bool parsed;
    std::wstring code;
    std::wstring text;
};

void PrintTo(const ReplyCase& c, std::ostream* out) {
    *out << c.label;
}

std::wstring Code(const FTPReply& reply) {
    return std::wstring(reply.code);
}

} // namespace

class ReplyReading : public ::testing::TestWithParam<ReplyCase> {};

TEST_P(ReplyReading, GivesCodeAndText) {
    const ReplyCase& c = GetParam();
    CScriptedPeer peer;
    for (const std::string& w : c.writes) {
        peer.Send(w).Pause(30);
    }
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    EXPECT_EQ(f.client->ReadReply(reply, true), c.parsed);
    EXPECT_EQ(Code(reply), c.code);
    EXPECT_EQ(reply.text, c.text);
    EXPECT_TRUE(f.messages.Shown().empty());
    ASSERT_FALSE(f.statusBar.Texts().empty());
    EXPECT_EQ(f.statusBar.Texts().back().text, c.text);
    EXPECT_EQ(f.statusBar.Texts().back().pane, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyReading,
    ::testing::Values(
        ReplyCase{"single", {"220 Service ready\r\n"}, true, L"220", L"220 Service ready"},
        ReplyCase{"multi",
                  {"230-Welcome\r\n230-more\r\n230 done\r\n"},
                  true,
                  L"230",
                  L"230-Welcome\r\n230-more\r\n230 done"},
        ReplyCase{"multiInnerLinesDoNotEnd",
                  {"230-a\r\n230-b\r\n231 other code\r\n 230 indented\r\n230 end\r\n"},
                  true,
                  L"230",
                  L"230-a\r\n230-b\r\n231 other code\r\n 230 indented\r\n230 end"},
        ReplyCase{"multiSplitAcrossReads",
                  {"230-first\r\n23", "0-second\r", "\n230 last\r\n"},
                  true,
                  L"230",
                  L"230-first\r\n230-second\r\n230 last"},
        ReplyCase{
            "lineSplitAcrossReads", {"22", "0 sl", "ow link\r\n"}, true, L"220", L"220 slow link"},
        ReplyCase{"lfOnlyKeepsLf", {"200 fine\n"}, true, L"200", L"200 fine\n"},
        ReplyCase{"firstDigitAbove5", {"900 odd\r\n"}, false, L"", L"900 odd"},
        ReplyCase{"secondDigitLetter", {"2x0 odd\r\n"}, false, L"", L"2x0 odd"},
        ReplyCase{"thirdNotExamined", {"15a fine\r\n"}, true, L"15a", L"15a fine"},
        ReplyCase{"tooShort", {"22\r\n"}, false, L"", L"22"}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ControlConnection, TwoRepliesInOneReadNeedOneReceive) {
    CScriptedPeer peer;
    peer.Send("220 hello\r\n200 second\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply first, second;
    ASSERT_TRUE(f.client->ReadReply(first, true));
    std::size_t receives = f.ReceiveCount();
    ASSERT_TRUE(f.client->ReadReply(second, true));
    EXPECT_EQ(f.ReceiveCount(), receives) << "the second reply came from a new receive";
    EXPECT_EQ(first.text, L"220 hello");
    EXPECT_EQ(second.text, L"200 second");
}

TEST(ControlConnection, PartialLineAtCloseIsTheLastLine) {
    CScriptedPeer peer;
    peer.Send("221 bye").Close();
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    EXPECT_EQ(reply.text, L"221 bye");
    // Nothing more: the read fails without a box, the socket stays open.
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_TRUE(f.client->IsConnected());
}

TEST(ControlConnection, ReceiveTimeoutIsShownAndClosesTheSocket) {
    CScriptedPeer peer;
    peer.Pause(2500);
    ClientFixture f;
    f.client->SetTimeoutSeconds(1);
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    EXPECT_EQ(f.messages.Texts(), std::vector<std::wstring>{
                                      L"Unable to receive data (receive timeout).\n\nError code: " +
                                      std::to_wstring(ETIMEDOUT)});
    EXPECT_FALSE(f.client->IsConnected());
}

TEST(ControlConnection, TimeoutWithReportOffShowsNothing) {
    CScriptedPeer peer;
    peer.Pause(2500);
    ClientFixture f;
    f.client->SetTimeoutSeconds(1);
    ASSERT_TRUE(f.ConnectTo(peer));
    std::wstring line;
    EXPECT_FALSE(f.client->ReadReplyLine(line, false));
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_FALSE(f.client->IsConnected());
}

TEST(ControlConnection, MultiLineReplyWithoutClosingLineTimesOut) {
    CScriptedPeer peer;
    peer.Send("211-start\r\n211\r\n").Pause(2500);
    ClientFixture f;
    f.client->SetTimeoutSeconds(1);
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    ASSERT_EQ(f.messages.Texts().size(), 1u);
    EXPECT_EQ(f.messages.Texts()[0].rfind(L"Unable to receive data (receive timeout).", 0), 0u);
}

TEST(ControlConnection, OverlongLineIsATransportFailure) {
    CScriptedPeer peer;
    peer.Send("220 " + std::string(70 * 1024, 'x') + "\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    EXPECT_EQ(f.messages.Texts(),
              std::vector<std::wstring>{L"The server sent a reply line longer than 65536 bytes; "
                                        L"the connection was closed."});
    EXPECT_FALSE(f.client->IsConnected());
}

TEST(ControlConnection, EndlessMultiLineReplyIsATransportFailure) {
    std::string lines = "220-start\r\n";
    for (int i = 0; i < 10001; ++i) {
        lines += "220-more\r\n";
    }
    CScriptedPeer peer;
    peer.Send(lines).Send("220 end\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    EXPECT_EQ(f.messages.Texts(),
              std::vector<std::wstring>{
                  L"The server sent a reply of more than 10000 lines; the connection was closed."});
    EXPECT_FALSE(f.client->IsConnected());
}

TEST(ControlConnection, UnsafeCommandsAreRefusedAndNotSent) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n").Expect("NOOP").Send("200 ok\r\n").Expect("QUIT").Send("221 bye\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    const std::wstring refused[] = {L"DELE a\r\nDELE b", L"DELE a\nb",
                                    std::wstring(L"DELE a\0b", 8), L"DELE \x263A"};
    for (const std::wstring& command : refused) {
        EXPECT_FALSE(f.client->SendCommandLine(command, true));
    }
    EXPECT_EQ(f.messages.Texts().size(), 4u);
    EXPECT_EQ(f.messages.Texts()[0],
              L"The command was not sent: it contains a line break or a NUL character.");
    EXPECT_EQ(f.messages.Texts()[3],
              L"The command was not sent: it contains characters that cannot be sent to the "
              L"server.");
    EXPECT_TRUE(f.client->IsConnected());
    EXPECT_EQ(f.client->ExchangeCommand(L"NOOP"), 0);
    EXPECT_EQ(f.client->Quit(), 0);
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
    EXPECT_EQ(peer.Received(), (std::vector<std::string>{"NOOP", "QUIT"}));
}

TEST(ControlConnection, Latin1OnTheWireBothWays) {
    CScriptedPeer peer;
    peer.Send("220 caf\xe9\r\n")
        .Expect("CWD d\xfc"
                "r")
        .Send("250 ok\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    EXPECT_EQ(reply.text, L"220 caf\u00e9");
    EXPECT_EQ(f.client->ExchangeCommand(L"CWD d\u00fcr"), 0);
    f.client.reset();
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}

TEST(ControlConnection, ExchangeResultsAndBoxes) {
    struct Row {
        const char* reply;
        CommandResult result;
        bool box;
    } rows[] = {{"200 ok\r\n", 0, false},     {"250 fine\r\n", 0, false},
                {"421 closing\r\n", 1, true}, {"550 no\r\n", 1, true},
                {"350 more\r\n", -1, true},   {"150 opening\r\n", -1, true},
                {"999 junk\r\n", -1, true}};
    CScriptedPeer peer;
    peer.Send("220 hi\r\n");
    for (const Row& row : rows) {
        peer.Expect("NOOP").Send(row.reply);
    }
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply greeting;
    ASSERT_TRUE(f.client->ReadReply(greeting, true));
    for (const Row& row : rows) {
        f.messages.Clear();
        EXPECT_EQ(f.client->ExchangeCommand(L"NOOP"), row.result) << row.reply;
        std::string text(row.reply, std::strlen(row.reply) - 2);
        EXPECT_EQ(f.messages.Texts(),
                  row.box ? std::vector<std::wstring>{std::wstring(text.begin(), text.end())}
                          : std::vector<std::wstring>{})
            << row.reply;
    }
    EXPECT_TRUE(f.client->IsConnected()) << "a 421 does not close the connection";
}

TEST(ControlConnection, RepliesReadWithReportOffAreNotPosted) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n").Expect("PWD").Send("257 \"/\"\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    ASSERT_TRUE(f.client->SendCommandAndReadReply(L"PWD", reply, false));
    ASSERT_EQ(f.statusBar.Texts().size(), 1u);
    EXPECT_EQ(f.statusBar.Texts()[0].text, L"220 hi");
}

TEST(ControlConnection, QuitWith221ClosesAndReturnsZero) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n").Expect("QUIT").Send("221 Goodbye\r\n");
    ClientFixture f;
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    EXPECT_EQ(f.client->Quit(), 0);
    EXPECT_FALSE(f.client->IsConnected());
    EXPECT_TRUE(f.messages.Shown().empty());
}

TEST(ControlConnection, QuitWithoutAnswerTimesOut) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n").Expect("QUIT").Pause(2500);
    ClientFixture f;
    f.client->SetTimeoutSeconds(1);
    ASSERT_TRUE(f.ConnectTo(peer));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    EXPECT_EQ(f.client->Quit(), -1);
    EXPECT_EQ(f.messages.Texts(), std::vector<std::wstring>{
                                      L"Unable to receive data (receive timeout).\n\nError code: " +
                                      std::to_wstring(ETIMEDOUT)});
    EXPECT_FALSE(f.client->IsConnected());
}

TEST(ControlConnection, UnconnectedClientRefusesSilently) {
    ClientFixture f;
    FTPReply reply;
    std::wstring line;
    EXPECT_FALSE(f.client->IsConnected());
    EXPECT_FALSE(f.client->SendCommandLine(L"NOOP", true));
    EXPECT_FALSE(f.client->ReadReplyLine(line, true));
    EXPECT_FALSE(f.client->ReadReply(reply, true));
    EXPECT_FALSE(f.client->SendCommandAndReadReply(L"NOOP", reply, true));
    EXPECT_EQ(f.client->ExchangeCommand(L"NOOP"), -1);
    EXPECT_EQ(f.client->Quit(), -1);
    EXPECT_TRUE(f.messages.Shown().empty());
    EXPECT_TRUE(f.statusBar.Texts().empty());
}

TEST(ControlConnection, DestructorSendsQuit) {
    CScriptedPeer peer;
    peer.Send("220 hi\r\n").Expect("QUIT").Send("221 bye\r\n");
    {
        ClientFixture f;
        ASSERT_TRUE(f.ConnectTo(peer));
        FTPReply reply;
        ASSERT_TRUE(f.client->ReadReply(reply, true));
    }
    peer.Finish();
    EXPECT_EQ(peer.Failures(), "");
}
