#include "Common/BlockingSocket.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/MessageService.h"
#include "platform/WindowTarget.h"

namespace nsSocket {
namespace {

std::atomic<platform::IWindowTarget*> activityWindow{nullptr};

void PostActivity() {
    platform::PostToWindow(activityWindow.load(std::memory_order_acquire), SocketActivityMessage);
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

// Descriptor 0 is a valid descriptor here but means "no socket" to callers,
// so a socket that lands on it is moved to a higher number.
SocketHandle AvoidZero(SocketHandle fd) {
    if (fd != 0) {
        return fd;
    }
    SocketHandle moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 1);
    int saved = errno;
    ::close(fd);
    errno = saved;
    return moved;
}

enum class WaitResult { Ready, TimedOut, Failed };

// Waits until the socket is ready for the given events. A time-out of 0 polls
// once; a negative one waits without a limit. Signals do not cut the wait short.
WaitResult WaitFor(SocketHandle fd, short events, int timeoutSeconds) {
    using Clock = std::chrono::steady_clock;
    const bool unlimited = timeoutSeconds < 0;
    const auto deadline = Clock::now() + std::chrono::seconds(unlimited ? 0 : timeoutSeconds);
    for (;;) {
        int waitMs = -1;
        if (!unlimited) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            waitMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd entry{fd, events, 0};
        int result = ::poll(&entry, 1, waitMs);
        if (result > 0) {
            return WaitResult::Ready;
        }
        if (result == 0) {
            errno = ETIMEDOUT;
            return WaitResult::TimedOut;
        }
        if (errno != EINTR) {
            return WaitResult::Failed;
        }
    }
}

} // namespace

std::unique_ptr<IBlockingSocket> CBlockingSocket::NewInstance() {
    return std::make_unique<CBlockingSocket>();
}

SocketHandle CBlockingSocket::CreateHandle(int type) {
    SocketHandle fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    handle = fd < 0 ? InvalidSocket : AvoidZero(fd);
    if (handle == InvalidSocket) {
        throw CBlockingSocketException(L"Cannot not create socket.");
    }
    return handle;
}

void CBlockingSocket::Connect(const sockaddr_in& peer) {
    int result;
    do {
        result = ::connect(handle, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        throw CBlockingSocketException(L"Cannot establish a connection to the server.");
    }
}

void CBlockingSocket::Bind(const sockaddr_in& local) {
    if (::bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        throw CBlockingSocketException(L"Error binding acceptor socket.");
    }
}

void CBlockingSocket::Listen() {
    if (::listen(handle, 5) != 0) {
        throw CBlockingSocketException(L"Error creating listening socket.");
    }
}

void CBlockingSocket::CloseQuietly() noexcept {
    if (handle != NoSocket) {
        if (handle != InvalidSocket) {
            ::close(handle);
        }
        handle = NoSocket;
    }
}

bool CBlockingSocket::Accept(IBlockingSocket& target, sockaddr_in& peer, int timeoutSeconds) {
    PostActivity();
    if (timeoutSeconds > 0) {
        switch (WaitFor(handle, POLLIN, timeoutSeconds)) {
        case WaitResult::TimedOut:
            throw CBlockingSocketException(
                L"The server did not open the data connection in time (accept timeout).");
        case WaitResult::Failed:
            throw CBlockingSocketException(L"Error creating acceptor socket.");
        case WaitResult::Ready:
            break;
        }
    }
    socklen_t length = sizeof peer;
    SocketHandle fd = ::accept4(handle, reinterpret_cast<sockaddr*>(&peer), &length, SOCK_CLOEXEC);
    target.SetHandle(fd < 0 ? InvalidSocket : AvoidZero(fd));
    if (target.GetHandle() != InvalidSocket) {
        return true;
    }
    if (errno == EINTR) {
        return false;
    }
    throw CBlockingSocketException(L"Error creating acceptor socket.");
}

void CBlockingSocket::Close() {
    if (handle != NoSocket && handle != InvalidSocket) {
        if (::close(handle) != 0 && errno != EINTR) {
            throw CBlockingSocketException(L"Unable to close socket.");
        }
    }
    handle = NoSocket;
}

int CBlockingSocket::SendAll(const char* data, int length, int timeoutSeconds) {
    int sum = 0;
    do {
        sum += SendTimed(data + sum, length - sum, timeoutSeconds);
    } while (sum < length);
    return sum;
}

int CBlockingSocket::SendTimed(const char* data, int length, int timeoutSeconds) {
    PostActivity();
    if (WaitFor(handle, POLLOUT, timeoutSeconds) == WaitResult::TimedOut) {
        throw CBlockingSocketException(L"Unable to send data (send timeout).");
    }
    // Never block past the wait: a peer that stops reading must run into the
    // time-out above, so the send takes what fits now and SendAll goes on.
    ssize_t sent;
    do {
        sent = ::send(handle, data, static_cast<size_t>(length), MSG_NOSIGNAL | MSG_DONTWAIT);
    } while (sent < 0 && errno == EINTR);
    if (sent < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return 0;
        }
        throw CBlockingSocketException(L"Unable to send data.");
    }
    return static_cast<int>(sent);
}

int CBlockingSocket::ReceiveTimed(char* buffer, int size, int timeoutSeconds) {
    PostActivity();
    if (WaitFor(handle, POLLIN, timeoutSeconds) == WaitResult::TimedOut) {
        throw CBlockingSocketException(L"Unable to receive data (receive timeout).");
    }
    ssize_t received;
    do {
        received = ::recv(handle, buffer, static_cast<size_t>(size), 0);
    } while (received < 0 && errno == EINTR);
    if (received < 0) {
        throw CBlockingSocketException(L"Unable to receive data.");
    }
    return static_cast<int>(received);
}

void CBlockingSocket::GetLocalAddress(sockaddr_in& local) {
    socklen_t length = sizeof local;
    if (::getsockname(handle, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        throw CBlockingSocketException(L"getsockname() failed.");
    }
}

sockaddr_in CBlockingSocket::GetPeerAddress() {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    if (::getpeername(handle, reinterpret_cast<sockaddr*>(&peer), &length) != 0) {
        throw CBlockingSocketException(L"getpeername() failed.");
    }
    return peer;
}

bool CBlockingSocket::HasPendingData() {
    switch (WaitFor(handle, POLLIN, 0)) {
    case WaitResult::Ready:
        return true;
    case WaitResult::TimedOut:
        return false;
    case WaitResult::Failed:
        break;
    }
    throw CBlockingSocketException(L"select() failed.");
}

sockaddr_in CBlockingSocket::ResolveHost(const std::string& host, unsigned short port) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0 || found == nullptr) {
        throw CBlockingSocketException(
            L"The host '" + Widen(host) +
                L"' could not be found. Please make sure you are connected to the Internet and "
                L"verify that you have entered the server name correctly.",
            result);
    }
    std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, &::freeaddrinfo);
    sockaddr_in address = *reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    return address;
}

std::string CBlockingSocket::ResolveAddress(const sockaddr_in& address) {
    char name[NI_MAXHOST];
    int result = ::getnameinfo(reinterpret_cast<const sockaddr*>(&address), sizeof address, name,
                               sizeof name, nullptr, 0, NI_NAMEREQD);
    if (result != 0) {
        throw CBlockingSocketException(
            L"The host could not be found. Please verify that you have entered the server name "
            L"and port correctly and make sure you are connected to the Internet.",
            result);
    }
    return name;
}

void SetActivityWindow(platform::IWindowTarget* window) {
    activityWindow.store(window, std::memory_order_release);
}

std::wstring AddressText(const sockaddr_in& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, text, sizeof text);
    return Widen(text);
}

void ShowError(const std::wstring& text) {
    if (!text.empty()) {
        platform::ShowMessage(text, platform::ProgramCaption(), platform::MbIconError);
    }
}

} // namespace nsSocket
