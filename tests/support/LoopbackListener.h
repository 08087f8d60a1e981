#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

// A socket listening on 127.0.0.1 on a free port; throws when it cannot listen.
inline int ListenOnLoopback(unsigned short& port) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) ||
        ::listen(fd, 4) || ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length)) {
        if (fd >= 0) {
            ::close(fd);
        }
        throw std::runtime_error("cannot listen on 127.0.0.1");
    }
    port = ntohs(address.sin_port);
    return fd;
}

} // namespace testsupport
