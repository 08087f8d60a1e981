#pragma once
// Real FTP servers for the tests, started on 127.0.0.1 on free ports and
// stopped by their process ids. A server that cannot be started throws, so
// the test that needs it fails.

#include <filesystem>
#include <memory>
#include <string>
#include <sys/types.h>

namespace testsupport {

enum class ServerKind { Pyftpdlib, Vsftpd };

// The system user the vsftpd fixture logs on as (created by scripts/test).
inline constexpr const char* VsftpdUser = "pellixftp-test";
inline constexpr const char* VsftpdPassword = "Pellix-Test-Pw1";

class CTestFtpServer {
public:
    static std::unique_ptr<CTestFtpServer> Start(ServerKind kind);
    ~CTestFtpServer();
    CTestFtpServer(const CTestFtpServer&) = delete;
    CTestFtpServer& operator=(const CTestFtpServer&) = delete;

    ServerKind Kind() const { return kind; }
    unsigned short Port() const { return port; }
    const std::string& User() const { return user; }
    const std::string& Password() const { return password; }
    // The user's root directory on disk (what the server shows as "/").
    const std::filesystem::path& Root() const { return root; }
    // Makes a file or directory created by the test readable and writable for
    // the server's user.
    void HandOver(const std::filesystem::path& path) const;

private:
    explicit CTestFtpServer(ServerKind kind);
    void StartPyftpdlib();
    void StartVsftpd();
    void WaitForGreeting();

    ServerKind kind;
    std::filesystem::path workDir;
    std::filesystem::path root;
    std::string user;
    std::string password;
    unsigned short port = 0;
    pid_t pid = -1;
};

const char* ServerName(ServerKind kind);

// A free TCP port on 127.0.0.1 at this moment.
unsigned short FreePort();

} // namespace testsupport
