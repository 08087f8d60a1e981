#pragma once
// The FTP engine: one control connection to one server, run synchronously on
// the calling thread. Every failure is shown to the user by the engine itself;
// no exception leaves a public operation. One caller at a time.

#include <memory>
#include <string>

#include "Common/BlockingSocket.h"
#include "Common/FTPReply.h"
#include "Common/ReplyFramer.h"
#include "Common/WireText.h"

namespace nsFTP {

class CFTPClient {
public:
    // Largest number of lines one reply may have before the server is taken
    // for broken.
    static constexpr int MaxReplyLines = 10000;
    static constexpr int BufferSize = 2048;

    // Takes ownership of an unconnected socket, which also makes the data sockets.
    explicit CFTPClient(std::unique_ptr<nsSocket::IBlockingSocket> controlSocket);
    // Sends QUIT if still connected.
    ~CFTPClient();
    CFTPClient(const CFTPClient&) = delete;
    CFTPClient& operator=(const CFTPClient&) = delete;

    bool IsConnected() const;
    // Sends QUIT and closes the control connection once a reply has come.
    CommandResult Quit();

    // The engine's time-out in seconds for every send and receive.
    int TimeoutSeconds() const { return timeoutSeconds; }
    void SetTimeoutSeconds(int seconds) { timeoutSeconds = seconds; }

    // Connects the control socket; a failure is always shown.
    bool OpenControlConnection(const std::wstring& host, unsigned short port);
    void CloseControlConnection();

    // Sends one command line (CR LF is added). Refuses, with a box, a command
    // holding CR, LF, NUL or a character the wire encoding cannot carry.
    bool SendCommandLine(const std::wstring& command, bool report);
    // Reads one line of a reply, without its CR LF.
    bool ReadReplyLine(std::wstring& line, bool report);
    // Reads one whole reply, single or multi-line, and checks its code.
    bool ReadReply(FTPReply& reply, bool report);
    bool SendCommandAndReadReply(const std::wstring& command, FTPReply& reply, bool report);
    // The result class of a reply; refusals are shown when report is true.
    CommandResult EvaluateReply(const FTPReply& reply, bool report);
    // Send, read and evaluate, showing every failure.
    CommandResult ExchangeCommand(const std::wstring& command);

private:
    // A control-connection failure: shown when report is true, then the
    // socket is closed.
    void FailControlConnection(const std::wstring& text, bool report);

    std::wstring cachedDirectory;
    int timeoutSeconds = 10;
    std::wstring listingLineEnd = L"\r\n";
    char buffer[BufferSize] = {};
    CReplyFramer pendingLines;
    WireEncoding wireEncoding = WireEncoding::Latin1;
    std::unique_ptr<nsSocket::IBlockingSocket> controlSocket;
};

} // namespace nsFTP
