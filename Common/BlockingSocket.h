#pragma once
// The one place that touches the system's TCP sockets: a blocking IPv4 stream
// socket whose every failure throws CBlockingSocketException.

#include <memory>
#include <netinet/in.h>
#include <string>

#include "Common/BlockingSocketException.h"

namespace platform {
class IWindowTarget;
}

namespace nsSocket {

// The system's socket descriptor. 0 means "no socket"; a failed create or
// accept stores InvalidSocket, which is not 0.
using SocketHandle = int;
inline constexpr SocketHandle NoSocket = 0;
inline constexpr SocketHandle InvalidSocket = -1;

// Posted to the activity window before each blocking send, receive and accept.
inline constexpr unsigned SocketActivityMessage = 0x0559;

class IBlockingSocket {
public:
    // Releases the object; does not close the handle.
    virtual ~IBlockingSocket() = default;
    // A new, unconnected socket of the same kind, owned by the caller.
    virtual std::unique_ptr<IBlockingSocket> NewInstance() = 0;
    // Creates the system socket (type 1 = stream) and stores its handle.
    virtual SocketHandle CreateHandle(int type) = 0;
    // Connects to the peer; no time-out.
    virtual void Connect(const sockaddr_in& peer) = 0;
    virtual void Bind(const sockaddr_in& local) = 0;
    // Listens with a backlog of 5.
    virtual void Listen() = 0;
    // Closes the handle if there is one and forgets it; never throws.
    virtual void CloseQuietly() noexcept = 0;
    // Waits up to timeoutSeconds (0 or less: no limit) for a connection and
    // stores it in target. False when the wait was interrupted by a signal.
    virtual bool Accept(IBlockingSocket& target, sockaddr_in& peer, int timeoutSeconds) = 0;
    // Closes the handle if there is one; on failure throws and keeps it.
    virtual void Close() = 0;
    // Sends all bytes, piece by piece, each piece bounded by the time-out.
    virtual int SendAll(const char* data, int length, int timeoutSeconds) = 0;
    // One receive of at most size bytes after waiting up to the time-out for
    // data; 0 means the peer has closed the connection.
    virtual int ReceiveTimed(char* buffer, int size, int timeoutSeconds) = 0;
    virtual void GetLocalAddress(sockaddr_in& local) = 0;
    // The peer of a connected socket.
    virtual sockaddr_in GetPeerAddress() = 0;
    virtual SocketHandle GetHandle() const = 0;
    virtual void SetHandle(SocketHandle handle) = 0;
    // True when data is waiting to be read at this moment.
    virtual bool HasPendingData() = 0;
    // The first IPv4 address of the host with the given port.
    virtual sockaddr_in ResolveHost(const std::string& host, unsigned short port) = 0;
    // The official name of the host at the address.
    virtual std::string ResolveAddress(const sockaddr_in& address) = 0;
};

class CBlockingSocket final : public IBlockingSocket {
public:
    CBlockingSocket() = default;
    CBlockingSocket(const CBlockingSocket&) = delete;
    CBlockingSocket& operator=(const CBlockingSocket&) = delete;

    std::unique_ptr<IBlockingSocket> NewInstance() override;
    SocketHandle CreateHandle(int type) override;
    void Connect(const sockaddr_in& peer) override;
    void Bind(const sockaddr_in& local) override;
    void Listen() override;
    void CloseQuietly() noexcept override;
    bool Accept(IBlockingSocket& target, sockaddr_in& peer, int timeoutSeconds) override;
    void Close() override;
    int SendAll(const char* data, int length, int timeoutSeconds) override;
    int ReceiveTimed(char* buffer, int size, int timeoutSeconds) override;
    void GetLocalAddress(sockaddr_in& local) override;
    sockaddr_in GetPeerAddress() override;
    SocketHandle GetHandle() const override { return handle; }
    void SetHandle(SocketHandle newHandle) override { handle = newHandle; }
    bool HasPendingData() override;
    sockaddr_in ResolveHost(const std::string& host, unsigned short port) override;
    std::string ResolveAddress(const sockaddr_in& address) override;

    // One send of the whole length once the socket is writable; returns the
    // count the system took.
    int SendTimed(const char* data, int length, int timeoutSeconds);

private:
    SocketHandle handle = NoSocket;
};

// Records the window that is told about socket activity (nullptr: nobody).
void SetActivityWindow(platform::IWindowTarget* window);

// The dotted-decimal text of an address.
std::wstring AddressText(const sockaddr_in& address);

// The engine's modal error box; an empty text shows nothing.
void ShowError(const std::wstring& text);

} // namespace nsSocket
