#include "tests/support/ScriptedPeer.h"
#include "tests/support/LoopbackListener.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {
namespace {

constexpr int AcceptTimeoutMs = 10000;
constexpr int LineTimeoutMs = 10000;
constexpr int DrainTimeoutMs = 5000;

} // namespace

CScriptedPeer::CScriptedPeer() {
    listenFd = ListenOnLoopback(port);
}

CScriptedPeer::~CScriptedPeer() {
    if (listenFd >= 0) {
        ::shutdown(listenFd, SHUT_RDWR);
    }
    if (worker.joinable()) {
        worker.join();
    }
    if (listenFd >= 0) {
        ::close(listenFd);
    }
}

CScriptedPeer& CScriptedPeer::Send(std::string bytes) {
    steps.push_back({Step::Kind::Send, std::move(bytes), 0, {}});
    return *this;
}

CScriptedPeer& CScriptedPeer::Expect(std::string commandLine) {
    steps.push_back({Step::Kind::Expect, std::move(commandLine), 0, {}});
    return *this;
}

CScriptedPeer& CScriptedPeer::ExpectAny() {
    steps.push_back({Step::Kind::ExpectAny, {}, 0, {}});
    return *this;
}

CScriptedPeer& CScriptedPeer::Pause(int milliseconds) {
    steps.push_back({Step::Kind::Pause, {}, milliseconds, {}});
    return *this;
}

CScriptedPeer& CScriptedPeer::Close() {
    steps.push_back({Step::Kind::Close, {}, 0, {}});
    return *this;
}

CScriptedPeer& CScriptedPeer::Run(std::function<void(int)> action) {
    steps.push_back({Step::Kind::Run, {}, 0, std::move(action)});
    return *this;
}

void CScriptedPeer::Start() {
    worker = std::thread([this] { Play(); });
}

void CScriptedPeer::Finish() {
    if (worker.joinable()) {
        worker.join();
    }
}

std::vector<std::string> CScriptedPeer::Received() {
    std::lock_guard guard(lock);
    return received;
}

std::string CScriptedPeer::Failures() {
    std::lock_guard guard(lock);
    return failures;
}

void CScriptedPeer::Fail(const std::string& what) {
    std::lock_guard guard(lock);
    failures += what + "\n";
}

bool CScriptedPeer::ReadLine(int fd, std::string& line, int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::size_t end = readBuffer.find("\r\n");
        if (end != std::string::npos) {
            line = readBuffer.substr(0, end);
            readBuffer.erase(0, end + 2);
            std::lock_guard guard(lock);
            received.push_back(line);
            return true;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd entry{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char chunk[4096];
        ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            return false;
        }
        readBuffer.append(chunk, static_cast<std::size_t>(got));
    }
}

void CScriptedPeer::Play() {
    pollfd waiting{listenFd, POLLIN, 0};
    if (::poll(&waiting, 1, AcceptTimeoutMs) <= 0) {
        Fail("no client connected");
        return;
    }
    int fd = ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        Fail("accept failed");
        return;
    }
    bool open = true;
    for (const Step& step : steps) {
        if (!open) {
            break;
        }
        std::string line;
        switch (step.kind) {
        case Step::Kind::Send:
            if (::send(fd, step.text.data(), step.text.size(), MSG_NOSIGNAL) !=
                static_cast<ssize_t>(step.text.size())) {
                Fail("send failed: " + step.text);
            }
            break;
        case Step::Kind::Expect:
            if (!ReadLine(fd, line, LineTimeoutMs)) {
                Fail("expected '" + step.text + "', got nothing");
                open = false;
            } else if (line != step.text) {
                Fail("expected '" + step.text + "', got '" + line + "'");
            }
            break;
        case Step::Kind::ExpectAny:
            if (!ReadLine(fd, line, LineTimeoutMs)) {
                Fail("expected a line, got nothing");
                open = false;
            }
            break;
        case Step::Kind::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.milliseconds));
            break;
        case Step::Kind::Close:
            ::close(fd);
            fd = -1;
            open = false;
            break;
        case Step::Kind::Run:
            step.action(fd);
            break;
        }
    }
    if (fd >= 0) {
        // Record what else the client sends until it closes; a QUIT is
        // answered so clients end as they would with a real server.
        std::string line;
        while (ReadLine(fd, line, DrainTimeoutMs)) {
            if (line == "QUIT") {
                ::send(fd, "221 Goodbye.\r\n", 14, MSG_NOSIGNAL);
                break;
            }
        }
        ::close(fd);
    }
}

} // namespace testsupport
