#pragma once
// The FTP engine: one control connection to one server, run synchronously on
// the calling thread. Every failure is shown to the user by the engine itself;
// no exception leaves a public operation. One caller at a time.

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Common/BlockingSocket.h"
#include "Common/FTPFileStatus.h"
#include "Common/FTPReply.h"
#include "Common/LogonParameters.h"
#include "Common/RCIPtr.h"
#include "Common/ReplyFramer.h"
#include "Common/TransferNotification.h"
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

    // Connects (QUITting an old connection first), reads the greeting and runs
    // the logon sequence of the parameters' logon type; true when logged on
    // and the working directory is known.
    bool LogOn(const LogonParameters& parameters, int timeoutSeconds);
    const LogonParameters& LastLogonParameters() const { return logonParameters; }

    // File and directory commands; each returns 0 for 2xx, 1 for 4xx/5xx, -1
    // otherwise, and shows refusals itself.
    // The working directory, from the cache when known (PWD otherwise).
    CommandResult QueryCurrentDirectory(std::wstring& directory);
    // CWD; on success the cache holds the path exactly as given.
    CommandResult ChangeDirectory(const std::wstring& path);
    // PWD with nothing shown and nothing posted; the cache is left alone.
    CommandResult SendKeepAlive();
    // MKD; a refusal is shown only when showErrors is true.
    CommandResult CreateRemoteDirectory(const std::wstring& path, bool showErrors);
    CommandResult RemoveRemoteDirectory(const std::wstring& path);
    CommandResult DeleteRemoteFile(const std::wstring& path);
    // RNFR, and RNTO only when the server asks for it with a 3xx.
    CommandResult RenameRemote(const std::wstring& oldPath, const std::wstring& newPath);
    CommandResult SendSiteCommand(const std::wstring& text);

    // Lists a directory (empty path: the working directory) over a passive or
    // active data connection; entries are left alone on failure.
    bool ListDirectory(const std::wstring& path, std::vector<nsSP::RCIPtr<CFTPFileStatus>>& entries,
                       bool passive);
    // Starts RETR (or STOR when upload) and hands out the open data socket,
    // which the caller moves data over and gives back to CloseTransfer.
    std::unique_ptr<nsSocket::IBlockingSocket> OpenTransfer(const std::wstring& path, bool passive,
                                                            bool upload);
    // One receive of at most size bytes; received 0 is the end of the file.
    bool ReceiveBlock(nsSocket::IBlockingSocket& dataSocket, char* data, int size, int& received);
    // Sends size bytes.
    bool SendBlock(nsSocket::IBlockingSocket& dataSocket, const char* data, int size, int& sent);
    // Closes the data socket and reads the transfer's final reply; a null
    // socket returns true at once.
    bool CloseTransfer(std::unique_ptr<nsSocket::IBlockingSocket> dataSocket);
    // Asks a running transfer loop to stop, or sends ABOR when none runs.
    CommandResult AbortTransfer();
    bool TransferInProgress() const { return transferInProgress; }

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

    // Data-connection steps (used by the operations above, open for tests).
    CommandResult SetDataRepresentation(const DataRepresentation& representation);
    CommandResult EnterPassiveMode(std::uint32_t& address, unsigned short& port);
    CommandResult SendPortCommand(const std::wstring& dottedAddress, unsigned short port);
    static std::wstring BuildDataCommand(DataCommand command, const std::wstring& path);

private:
    bool UseRepresentation(const DataRepresentation& wanted);
    bool AcceptDataConnection(DataCommand command, const std::wstring& path,
                              nsSocket::IBlockingSocket& dataSocket);
    bool DialDataConnection(DataCommand command, const std::wstring& path,
                            nsSocket::IBlockingSocket& dataSocket);
    bool OpenDataConnection(DataCommand command, const std::wstring& path, bool passive,
                            nsSocket::IBlockingSocket& dataSocket);
    bool RunDataCommand(DataCommand command, const std::wstring& path,
                        const DataRepresentation& representation, bool passive,
                        ITransferNotification& sinkOrSource);
    bool ReceiveIntoSink(ITransferNotification& sink, nsSocket::IBlockingSocket& dataSocket);
    bool SendFromSource(ITransferNotification& source, nsSocket::IBlockingSocket& dataSocket);
    // Closes a data socket, showing a failure and closing it quietly then.
    void CloseDataSocket(nsSocket::IBlockingSocket& dataSocket);
    // A data-connection failure: shown, and the socket closed quietly.
    void FailDataSocket(nsSocket::CBlockingSocketException& e,
                        nsSocket::IBlockingSocket& dataSocket);

    // A control-connection failure: shown when report is true, then the
    // socket is closed.
    void FailControlConnection(const std::wstring& text, bool report);

    std::wstring cachedDirectory;
    int timeoutSeconds = 10;
    char buffer[BufferSize] = {};
    std::vector<char> dataBuffer = std::vector<char>(BufferSize);
    CReplyFramer pendingLines;
    std::optional<DataRepresentation> cachedRepresentation;
    // The server refused "TYPE A N": send "TYPE A" for listings instead.
    bool plainAsciiType = false;
    WireEncoding wireEncoding = WireEncoding::Latin1;
    std::unique_ptr<nsSocket::IBlockingSocket> controlSocket;
    // Read by another thread when the engine is destroyed during a transfer.
    std::atomic<bool> transferInProgress{false};
    // Set from another thread to stop a running transfer loop.
    std::atomic<bool> abortRequested{false};
    LogonParameters logonParameters;
};

} // namespace nsFTP
