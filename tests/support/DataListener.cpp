#include "tests/support/DataListener.h"
#include "tests/support/LoopbackListener.h"

#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

CDataListener::CDataListener() {
    listenFd = ListenOnLoopback(port);
}

CDataListener::~CDataListener() {
    if (heldFd >= 0) {
        ::close(heldFd);
    }
    ::close(listenFd);
}

std::string CDataListener::PassiveReply(const std::string& announcedAddress) const {
    return "227 Entering Passive Mode (" + announcedAddress + "," + std::to_string(port >> 8) +
           "," + std::to_string(port & 0xFF) + ").\r\n";
}

int CDataListener::AcceptOne() {
    pollfd entry{listenFd, POLLIN, 0};
    if (::poll(&entry, 1, 5000) <= 0) {
        return -1;
    }
    return ::accept4(listenFd, nullptr, nullptr, SOCK_CLOEXEC);
}

bool CDataListener::AcceptAndSend(const std::string& bytes) {
    int fd = AcceptOne();
    if (fd < 0) {
        return false;
    }
    bool ok =
        ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
    ::close(fd);
    return ok;
}

bool CDataListener::AcceptAndKeepOpen() {
    if (heldFd >= 0) {
        ::close(heldFd);
    }
    heldFd = AcceptOne();
    return heldFd >= 0;
}

bool CDataListener::AcceptAndReceive(std::string& bytes) {
    int fd = AcceptOne();
    if (fd < 0) {
        return false;
    }
    char chunk[65536];
    for (int rounds = 0; rounds < 100000; ++rounds) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, 5000) <= 0) {
            break;
        }
        ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return true;
}

} // namespace testsupport
