// CFTPClient: the control connection, reply reading and the reply rules.

#include <arpa/inet.h>
#include <cwchar>

#include "Common/FTPClient.h"
#include "connection/StatusText.h"

namespace nsFTP {
namespace {

using nsSocket::CBlockingSocketException;
using nsSocket::ShowError;

// The leading decimal number of a reply line, as wcstol reads it.
long LeadingNumber(const std::wstring& line) {
    return std::wcstol(line.c_str(), nullptr, 10);
}

bool EndsMultiLineReply(const std::wstring& line, long expectedCode) {
    return line.size() > 3 && line[3] == L' ' && LeadingNumber(line) == expectedCode;
}

// Fills the code from the reply text; false when the text has no valid code.
bool ParseReplyCode(FTPReply& reply) {
    const std::wstring& text = reply.text;
    if (text.size() >= 3 && text[0] >= L'1' && text[0] <= L'5' && text[1] >= L'0' &&
        text[1] <= L'5') {
        reply.code[0] = text[0];
        reply.code[1] = text[1];
        reply.code[2] = text[2];
        reply.code[3] = L'\0';
        return true;
    }
    reply.code[0] = reply.code[1] = reply.code[2] = reply.code[3] = L'\0';
    return false;
}

bool HasLineBreakOrNul(const std::wstring& command) {
    return command.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

} // namespace

CFTPClient::CFTPClient(std::unique_ptr<nsSocket::IBlockingSocket> socket)
    : controlSocket(std::move(socket)) {}

CFTPClient::~CFTPClient() {
    if (transferInProgress) {
        AbortTransfer();
    }
    if (IsConnected()) {
        Quit();
    }
    if (controlSocket) {
        controlSocket->CloseQuietly();
    }
}

bool CFTPClient::IsConnected() const {
    return controlSocket->GetHandle() != nsSocket::NoSocket;
}

bool CFTPClient::OpenControlConnection(const std::wstring& host, unsigned short port) {
    CloseControlConnection();
    pendingLines.Reset();
    plainAsciiType = false;
    try {
        controlSocket->CreateHandle(SOCK_STREAM);
        std::string hostBytes;
        if (!EncodeWireText(host, WireEncoding::Latin1, hostBytes)) {
            throw CBlockingSocketException(
                L"The host '" + host +
                    L"' could not be found. Please make sure you are connected to the Internet "
                    L"and verify that you have entered the server name correctly.",
                0);
        }
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = ::inet_addr(hostBytes.c_str());
        if (address.sin_addr.s_addr == INADDR_NONE) {
            address = controlSocket->ResolveHost(hostBytes, port);
        }
        controlSocket->Connect(address);
        return true;
    } catch (CBlockingSocketException& e) {
        ShowError(e.GetErrorText());
        controlSocket->CloseQuietly();
        return false;
    }
}

void CFTPClient::CloseControlConnection() {
    try {
        controlSocket->Close();
    } catch (CBlockingSocketException&) {
        controlSocket->CloseQuietly();
    }
    pendingLines.Reset();
    cachedRepresentation.reset();
}

void CFTPClient::FailControlConnection(const std::wstring& text, bool report) {
    if (report) {
        ShowError(text);
    }
    controlSocket->CloseQuietly();
    pendingLines.Reset();
    cachedRepresentation.reset();
}

bool CFTPClient::SendCommandLine(const std::wstring& command, bool report) {
    if (!IsConnected()) {
        return false;
    }
    std::string bytes;
    if (HasLineBreakOrNul(command)) {
        ShowError(L"The command was not sent: it contains a line break or a NUL character.");
        return false;
    }
    if (!EncodeWireText(command, wireEncoding, bytes)) {
        ShowError(L"The command was not sent: it contains characters that cannot be sent to "
                  L"the server.");
        return false;
    }
    bytes += "\r\n";
    try {
        controlSocket->SendAll(bytes.data(), static_cast<int>(bytes.size()), timeoutSeconds);
        return true;
    } catch (CBlockingSocketException& e) {
        FailControlConnection(e.GetErrorText(), report);
        return false;
    }
}

bool CFTPClient::ReadReplyLine(std::wstring& line, bool report) {
    if (!IsConnected()) {
        return false;
    }
    try {
        while (!pendingLines.HasLine()) {
            int received = controlSocket->ReceiveTimed(buffer, BufferSize - 1, timeoutSeconds);
            if (received == 0) {
                // Closed by the server: a partial line is its last line.
                pendingLines.FlushPartial();
                if (!pendingLines.HasLine()) {
                    return false;
                }
                break;
            }
            if (!pendingLines.Feed(std::string_view(buffer, static_cast<std::size_t>(received)))) {
                FailControlConnection(L"The server sent a reply line longer than 65536 bytes; "
                                      L"the connection was closed.",
                                      report);
                return false;
            }
        }
    } catch (CBlockingSocketException& e) {
        FailControlConnection(e.GetErrorText(), report);
        return false;
    }
    line = DecodeWireText(pendingLines.TakeLine(), wireEncoding);
    if (line.size() >= 2 && line.compare(line.size() - 2, 2, L"\r\n") == 0) {
        line.resize(line.size() - 2);
    }
    return true;
}

bool CFTPClient::ReadReply(FTPReply& reply, bool report) {
    reply.Clear();
    std::wstring first;
    if (!ReadReplyLine(first, report)) {
        return false;
    }
    reply.text = first;
    if (first.size() > 3 && first[3] == L'-') {
        const long expectedCode = LeadingNumber(first);
        std::wstring current = first;
        int lineCount = 1;
        while (!EndsMultiLineReply(current, expectedCode)) {
            if (++lineCount > MaxReplyLines) {
                FailControlConnection(L"The server sent a reply of more than 10000 lines; the "
                                      L"connection was closed.",
                                      report);
                reply.Clear();
                return false;
            }
            if (!ReadReplyLine(current, true)) {
                return false;
            }
            reply.text += L"\r\n";
            reply.text += current;
        }
    }
    bool parsed = ParseReplyCode(reply);
    if (report) {
        PostStatusText(0, reply.text);
    }
    return parsed;
}

bool CFTPClient::SendCommandAndReadReply(const std::wstring& command, FTPReply& reply,
                                         bool report) {
    reply.Clear();
    return SendCommandLine(command, report) && ReadReply(reply, report);
}

CommandResult CFTPClient::EvaluateReply(const FTPReply& reply, bool report) {
    switch (reply.Class()) {
    case L'2':
        return 0;
    case L'4':
    case L'5':
        if (report) {
            ShowError(reply.text);
        }
        return 1;
    default:
        if (report) {
            ShowError(reply.text);
        }
        return -1;
    }
}

CommandResult CFTPClient::ExchangeCommand(const std::wstring& command) {
    FTPReply reply;
    if (!SendCommandAndReadReply(command, reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    return EvaluateReply(reply, true);
}

CommandResult CFTPClient::Quit() {
    FTPReply reply;
    if (!SendCommandAndReadReply(L"QUIT", reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    CloseControlConnection();
    return EvaluateReply(reply, true);
}

} // namespace nsFTP
