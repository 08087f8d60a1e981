#pragma once
// A real server and a client logged on to it, for each server kind.

#include <gtest/gtest.h>
#include <ostream>

#include "tests/support/ClientFixture.h"
#include "tests/support/TestFtpServer.h"

namespace testsupport {

inline void PrintTo(ServerKind kind, std::ostream* out) {
    *out << ServerName(kind);
}

inline std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

class RealServerTest : public ::testing::TestWithParam<ServerKind> {
protected:
    void SetUp() override { server = CTestFtpServer::Start(GetParam()); }

    nsFTP::LogonParameters Logon() const {
        nsFTP::LogonParameters p;
        p.host = L"127.0.0.1";
        p.port = server->Port();
        p.user = Wide(server->User());
        p.password = Wide(server->Password());
        return p;
    }
    // Logs the fixture's client on as the test user.
    void LogOn() {
        ASSERT_TRUE(f.client->LogOn(Logon(), 10)) << testing::PrintToString(f.messages.Texts());
    }

    std::unique_ptr<CTestFtpServer> server;
    ClientFixture f;
};

#define PELLIX_FOR_EACH_SERVER(Suite)                                                              \
    INSTANTIATE_TEST_SUITE_P(                                                                      \
        Servers, Suite,                                                                            \
        ::testing::Values(::testsupport::ServerKind::Pyftpdlib,                                    \
                          ::testsupport::ServerKind::Vsftpd),                                      \
        [](const auto& info) { return ::testsupport::ServerName(info.param); })

} // namespace testsupport
