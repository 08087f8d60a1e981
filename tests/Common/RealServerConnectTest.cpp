// Opening and closing the control connection against real servers.

#include <gtest/gtest.h>

#include "tests/support/ClientFixture.h"
#include "tests/support/RealServerFixture.h"

using namespace nsFTP;
using testsupport::ClientFixture;
using testsupport::CTestFtpServer;
using testsupport::ServerKind;

class RealServerConnect : public ::testing::TestWithParam<ServerKind> {
protected:
    void SetUp() override { server = CTestFtpServer::Start(GetParam()); }
    std::unique_ptr<CTestFtpServer> server;
};

TEST_P(RealServerConnect, GreetingAndQuitByAddressAndByName) {
    for (const wchar_t* host : {L"127.0.0.1", L"localhost"}) {
        ClientFixture f;
        ASSERT_TRUE(f.client->OpenControlConnection(host, server->Port())) << host;
        EXPECT_TRUE(f.client->IsConnected());
        FTPReply greeting;
        ASSERT_TRUE(f.client->ReadReply(greeting, true));
        EXPECT_EQ(std::wstring(greeting.code), L"220");
        EXPECT_EQ(f.statusBar.Texts().back().text, greeting.text);
        EXPECT_EQ(f.client->Quit(), 0);
        EXPECT_FALSE(f.client->IsConnected());
        EXPECT_TRUE(f.messages.Shown().empty());
    }
}

TEST_P(RealServerConnect, MultiLineHelpReply) {
    ClientFixture f;
    ASSERT_TRUE(f.client->OpenControlConnection(L"127.0.0.1", server->Port()));
    FTPReply reply;
    ASSERT_TRUE(f.client->ReadReply(reply, true));
    const std::string& user = server->User();
    const std::string& password = server->Password();
    ASSERT_TRUE(f.client->SendCommandAndReadReply(L"USER " + std::wstring(user.begin(), user.end()),
                                                  reply, true));
    EXPECT_EQ(std::wstring(reply.code), L"331");
    ASSERT_TRUE(f.client->SendCommandAndReadReply(
        L"PASS " + std::wstring(password.begin(), password.end()), reply, true));
    EXPECT_EQ(std::wstring(reply.code), L"230") << testing::PrintToString(reply.text);
    ASSERT_TRUE(f.client->SendCommandAndReadReply(L"HELP", reply, true));
    EXPECT_EQ(std::wstring(reply.code), L"214");
    EXPECT_NE(reply.text.find(L"\r\n"), std::wstring::npos) << "HELP is a multi-line reply";
    EXPECT_EQ(reply.text.rfind(L"214 "), reply.text.rfind(L"\r\n") + 2);
    EXPECT_EQ(f.client->Quit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, RealServerConnect,
                         ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd),
                         [](const auto& info) { return testsupport::ServerName(info.param); });

TEST(ConnectFailures, RefusedPortAndUnknownHost) {
    ClientFixture f;
    unsigned short closedPort = testsupport::FreePort();
    EXPECT_FALSE(f.client->OpenControlConnection(L"127.0.0.1", closedPort));
    EXPECT_FALSE(f.client->OpenControlConnection(L"no..such.host", 21));
    auto texts = f.messages.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], L"Cannot establish a connection to the server.\n\nError code: " +
                            std::to_wstring(ECONNREFUSED));
    EXPECT_EQ(texts[1].rfind(L"The host 'no..such.host' could not be found. Please make sure you "
                             L"are connected to the Internet and verify that you have entered the "
                             L"server name correctly.\n\nError code: ",
                             0),
              0u);
    EXPECT_FALSE(f.client->IsConnected());
}
