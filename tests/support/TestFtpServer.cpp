#include "tests/support/TestFtpServer.h"

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <random>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace testsupport {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

fs::path MakeWorkDir() {
    std::string pattern = (fs::temp_directory_path() / "pellix-ftpd-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
        throw std::runtime_error("cannot create a temp directory for the test server");
    }
    fs::permissions(pattern, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                 fs::perms::others_read | fs::perms::others_exec);
    return pattern;
}

pid_t Spawn(const std::vector<std::string>& args, const fs::path& logFile) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);
    pid_t child = -1;
    int rc = ::posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) {
        throw std::runtime_error("cannot start " + args[0]);
    }
    return child;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Connects to 127.0.0.1:port and reads the first bytes of the greeting.
bool Greets(unsigned short port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = false;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
        pollfd entry{fd, POLLIN, 0};
        char reply[4] = {};
        if (::poll(&entry, 1, 2000) > 0 && ::recv(fd, reply, 3, MSG_WAITALL) == 3) {
            ok = std::string(reply, 3) == "220";
        }
        if (ok) {
            ::send(fd, "QUIT\r\n", 6, MSG_NOSIGNAL);
        }
    }
    ::close(fd);
    return ok;
}

} // namespace

const char* ServerName(ServerKind kind) {
    return kind == ServerKind::Pyftpdlib ? "pyftpdlib" : "vsftpd";
}

unsigned short FreePort() {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw std::runtime_error("cannot find a free port");
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

std::unique_ptr<CTestFtpServer> CTestFtpServer::Start(ServerKind kind) {
    std::unique_ptr<CTestFtpServer> server(new CTestFtpServer(kind));
    if (kind == ServerKind::Pyftpdlib) {
        server->StartPyftpdlib();
    } else {
        server->StartVsftpd();
    }
    return server;
}

CTestFtpServer::CTestFtpServer(ServerKind kind) : kind(kind), workDir(MakeWorkDir()) {
    root = workDir / "root";
    fs::create_directory(root);
}

CTestFtpServer::~CTestFtpServer() {
    if (pid > 0) {
        ::kill(pid, SIGTERM);
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            ended = ::waitpid(pid, &status, WNOHANG) == pid;
            if (!ended) {
                std::this_thread::sleep_for(20ms);
            }
        }
        if (!ended) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
        }
    }
    std::error_code ignored;
    fs::remove_all(workDir, ignored);
}

void CTestFtpServer::HandOver(const fs::path& path) const {
    if (kind != ServerKind::Vsftpd) {
        return;
    }
    const passwd* account = ::getpwnam(user.c_str());
    if (!account) {
        return;
    }
    std::error_code ignored;
    if (::chown(path.c_str(), account->pw_uid, account->pw_gid) != 0) {
        throw std::runtime_error("cannot hand " + path.string() + " to the test user");
    }
    if (fs::is_directory(path)) {
        for (const auto& entry : fs::recursive_directory_iterator(path, ignored)) {
            if (::lchown(entry.path().c_str(), account->pw_uid, account->pw_gid) != 0) {
                throw std::runtime_error("cannot hand " + entry.path().string() +
                                         " to the test user");
            }
        }
    }
}

void CTestFtpServer::StartPyftpdlib() {
    user = "pellix";
    password = "pellix-pw";
    fs::path portFile = workDir / "port";
    pid = Spawn({"/usr/bin/python3", PELLIX_TEST_SUPPORT_DIR "/pyftpd_server.py", "--root",
                 root.string(), "--user", user, "--password", password, "--port-file",
                 portFile.string()},
                workDir / "server.log");
    auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!fs::exists(portFile)) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            throw std::runtime_error("pyftpdlib exited at start: " +
                                     ReadFile(workDir / "server.log"));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error("pyftpdlib did not start in time");
        }
        std::this_thread::sleep_for(20ms);
    }
    port = static_cast<unsigned short>(std::stoi(ReadFile(portFile)));
    WaitForGreeting();
}

void CTestFtpServer::StartVsftpd() {
    user = VsftpdUser;
    password = VsftpdPassword;
    if (!::getpwnam(user.c_str())) {
        throw std::runtime_error(std::string("the test user ") + VsftpdUser +
                                 " does not exist: run scripts/test, which creates it");
    }
    HandOver(root);
    fs::path emptyDir = workDir / "empty";
    fs::path anonDir = workDir / "anon";
    fs::create_directory(emptyDir);
    fs::create_directory(anonDir);
    std::ofstream(anonDir / "welcome.txt") << "anonymous access works\n";

    // A random passive range keeps parallel servers out of each other's way.
    std::random_device seed;
    unsigned pasvBase = 20000 + seed() % 400 * 100;
    port = FreePort();
    fs::path config = workDir / "vsftpd.conf";
    std::ofstream(config) << "listen=YES\n"
                             "listen_ipv6=NO\n"
                             "background=NO\n"
                             "listen_address=127.0.0.1\n"
                             "listen_port="
                          << port
                          << "\n"
                             "seccomp_sandbox=NO\n"
                             "local_enable=YES\n"
                             "write_enable=YES\n"
                             "local_umask=022\n"
                             "chroot_local_user=YES\n"
                             "allow_writeable_chroot=YES\n"
                             "secure_chroot_dir="
                          << emptyDir.string()
                          << "\n"
                             "local_root="
                          << root.string()
                          << "\n"
                             "anonymous_enable=YES\n"
                             "no_anon_password=YES\n"
                             "anon_root="
                          << anonDir.string()
                          << "\n"
                             "pasv_enable=YES\n"
                             "pasv_address=127.0.0.1\n"
                             "pasv_min_port="
                          << pasvBase << "\npasv_max_port=" << pasvBase + 99
                          << "\n"
                             "port_enable=YES\n"
                             "connect_from_port_20=NO\n"
                             "pam_service_name=pellixftp-test\n"
                             "userlist_enable=NO\n"
                             "xferlog_enable=NO\n"
                             "dirmessage_enable=NO\n"
                             "ftpd_banner=vsftpd test server ready.\n";
    pid = Spawn({"/usr/sbin/vsftpd", config.string()}, workDir / "server.log");
    WaitForGreeting();
}

void CTestFtpServer::WaitForGreeting() {
    auto deadline = std::chrono::steady_clock::now() + 15s;
    while (!Greets(port)) {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            throw std::runtime_error(std::string(ServerName(kind)) +
                                     " exited at start: " + ReadFile(workDir / "server.log"));
        }
        if (std::chrono::steady_clock::now() > deadline) {
            throw std::runtime_error(std::string(ServerName(kind)) + " did not greet in time");
        }
        std::this_thread::sleep_for(20ms);
    }
}

} // namespace testsupport
