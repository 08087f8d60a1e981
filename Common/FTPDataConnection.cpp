// CFTPClient: representation type, passive and active data connections,
// listings, and block transfers driven by the caller.

#include <arpa/inet.h>
#include <ctime>

#include "Common/FTPClient.h"
#include "Common/ListingParser.h"
#include "Common/PassiveReply.h"

namespace nsFTP {

using nsSocket::CBlockingSocketException;
using nsSocket::IBlockingSocket;
using nsSocket::ShowError;

namespace {

bool IsReceiving(DataCommand command) {
    return command == DataCommand::List || command == DataCommand::Nlst ||
           command == DataCommand::Retr;
}

// Closes a socket the engine gives up on; never throws.
void Discard(IBlockingSocket& socket) {
    socket.CloseQuietly();
}

} // namespace

CommandResult CFTPClient::SetDataRepresentation(const DataRepresentation& representation) {
    std::wstring command;
    switch (representation.type) {
    case DataRepresentation::Ascii:
        command = L"TYPE A";
        break;
    case DataRepresentation::Ebcdic:
        command = L"TYPE E";
        break;
    case DataRepresentation::Image:
        command = L"TYPE I";
        break;
    case DataRepresentation::Local:
        command = L"TYPE L 0";
        break;
    default:
        return -1;
    }
    const bool asciiNonPrint = representation.type == DataRepresentation::Ascii &&
                               representation.format == DataRepresentation::NonPrint;
    if (asciiNonPrint && plainAsciiType) {
        // Nothing to add: non-print is the format "TYPE A" means anyway.
    } else if (representation.type == DataRepresentation::Ascii ||
               representation.type == DataRepresentation::Ebcdic) {
        switch (representation.format) {
        case DataRepresentation::NonPrint:
            command += L" N";
            break;
        case DataRepresentation::Telnet:
            command += L" T";
            break;
        case DataRepresentation::CarriageControl:
            command += L" C";
            break;
        default:
            break;
        }
    }
    FTPReply reply;
    if (!SendCommandAndReadReply(command, reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    if (asciiNonPrint && !plainAsciiType && reply.Class() == L'5') {
        // Some servers (pyftpdlib) know only the one-letter form; ask again
        // with it and keep using it on this connection.
        plainAsciiType = true;
        return SetDataRepresentation(representation);
    }
    return EvaluateReply(reply, true);
}

bool CFTPClient::UseRepresentation(const DataRepresentation& wanted) {
    // After logon the protocol's default is ASCII, non-print.
    if (!cachedRepresentation) {
        cachedRepresentation = DataRepresentation{};
    }
    if (*cachedRepresentation == wanted) {
        return true;
    }
    if (SetDataRepresentation(wanted) != 0) {
        return false;
    }
    cachedRepresentation = wanted;
    return true;
}

CommandResult CFTPClient::EnterPassiveMode(std::uint32_t& address, unsigned short& port) {
    FTPReply reply;
    if (!SendCommandAndReadReply(L"PASV", reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    if (reply.Class() == L'2' && !ParsePassiveReply(reply.text, address, port)) {
        ShowError(reply.text);
        return -1;
    }
    return EvaluateReply(reply, true);
}

CommandResult CFTPClient::SendPortCommand(const std::wstring& dottedAddress, unsigned short port) {
    std::wstring command = L"PORT " + dottedAddress + L"," + std::to_wstring(port >> 8) + L"," +
                           std::to_wstring(port & 0xFF);
    for (wchar_t& c : command) {
        if (c == L'.') {
            c = L',';
        }
    }
    return ExchangeCommand(command);
}

std::wstring CFTPClient::BuildDataCommand(DataCommand command, const std::wstring& path) {
    switch (command) {
    case DataCommand::List:
        return path.empty() ? L"LIST" : L"LIST " + path;
    case DataCommand::Nlst:
        return path.empty() ? L"NLST" : L"NLST " + path;
    case DataCommand::Retr:
        return L"RETR " + path;
    case DataCommand::Stor:
        return L"STOR " + path;
    case DataCommand::Stou:
        return L"STOU " + path;
    case DataCommand::Appe:
        return L"APPE " + path;
    }
    return {};
}

bool CFTPClient::AcceptDataConnection(DataCommand command, const std::wstring& path,
                                      IBlockingSocket& dataSocket) {
    std::unique_ptr<IBlockingSocket> listener = controlSocket->NewInstance();
    try {
        // Listen on the interface the control connection uses, never on all
        // of them; that address is also the one announced with PORT.
        sockaddr_in local{};
        controlSocket->GetLocalAddress(local);
        sockaddr_in bindAddress = local;
        bindAddress.sin_port = 0;
        listener->CreateHandle(SOCK_STREAM);
        listener->Bind(bindAddress);
        sockaddr_in listening{};
        listener->GetLocalAddress(listening);
        listener->Listen();

        if (SendPortCommand(nsSocket::AddressText(local), ntohs(listening.sin_port)) != 0) {
            Discard(*listener);
            return false;
        }
        FTPReply reply;
        if (!SendCommandAndReadReply(BuildDataCommand(command, path), reply, true) ||
            reply.Class() != L'1') {
            ShowError(reply.text);
            Discard(*listener);
            return false;
        }
        sockaddr_in peer{};
        bool accepted = listener->Accept(dataSocket, peer, timeoutSeconds);
        listener->Close();
        return accepted;
    } catch (CBlockingSocketException& e) {
        ShowError(e.GetErrorText());
        Discard(*listener);
        Discard(dataSocket);
        return false;
    }
}

bool CFTPClient::DialDataConnection(DataCommand command, const std::wstring& path,
                                    IBlockingSocket& dataSocket) {
    std::uint32_t announced = 0;
    unsigned short port = 0;
    if (EnterPassiveMode(announced, port) != 0) {
        return false;
    }
    try {
        // The announced address is not trusted: a hostile server could point
        // it anywhere inside the user's network, and one behind NAT announces
        // an address nobody can reach. The data connection goes to the host
        // the control connection already talks to.
        sockaddr_in target = controlSocket->GetPeerAddress();
        target.sin_port = htons(port);
        dataSocket.CreateHandle(SOCK_STREAM);
        dataSocket.Connect(target);
    } catch (CBlockingSocketException& e) {
        ShowError(e.GetErrorText());
        dataSocket.CloseQuietly();
        return false;
    }
    FTPReply reply;
    if (!SendCommandAndReadReply(BuildDataCommand(command, path), reply, true) ||
        reply.Class() != L'1') {
        ShowError(reply.text);
        return false;
    }
    return true;
}

bool CFTPClient::OpenDataConnection(DataCommand command, const std::wstring& path, bool passive,
                                    IBlockingSocket& dataSocket) {
    return passive ? DialDataConnection(command, path, dataSocket)
                   : AcceptDataConnection(command, path, dataSocket);
}

void CFTPClient::CloseDataSocket(IBlockingSocket& dataSocket) {
    try {
        dataSocket.Close();
    } catch (CBlockingSocketException& e) {
        ShowError(e.GetErrorText());
        dataSocket.CloseQuietly();
    }
}

void CFTPClient::FailDataSocket(CBlockingSocketException& e, IBlockingSocket& dataSocket) {
    transferInProgress = false;
    ShowError(e.GetErrorText());
    dataSocket.CloseQuietly();
}

bool CFTPClient::RunDataCommand(DataCommand command, const std::wstring& path,
                                const DataRepresentation& representation, bool passive,
                                ITransferNotification& sinkOrSource) {
    if (transferInProgress || !IsConnected()) {
        return false;
    }
    if (!UseRepresentation(representation)) {
        return false;
    }
    std::unique_ptr<IBlockingSocket> dataSocket = controlSocket->NewInstance();
    if (!OpenDataConnection(command, path, passive, *dataSocket)) {
        Discard(*dataSocket);
        return false;
    }
    bool moved = IsReceiving(command) ? ReceiveIntoSink(sinkOrSource, *dataSocket)
                                      : SendFromSource(sinkOrSource, *dataSocket);
    CloseDataSocket(*dataSocket);
    // The final reply is read whatever happened, so it never stays behind.
    FTPReply reply;
    bool replied = ReadReply(reply, true);
    if (moved && replied && reply.Class() == L'2') {
        return true;
    }
    ShowError(reply.text);
    return false;
}

bool CFTPClient::ReceiveIntoSink(ITransferNotification& sink, IBlockingSocket& dataSocket) {
    transferInProgress = true;
    try {
        int count = dataSocket.ReceiveTimed(dataBuffer.data(), BufferSize, timeoutSeconds);
        while (!abortRequested && count != 0) {
            sink.ConsumeBytes(dataBuffer, count);
            count = dataSocket.ReceiveTimed(dataBuffer.data(), BufferSize, timeoutSeconds);
        }
    } catch (CBlockingSocketException& e) {
        FailDataSocket(e, dataSocket);
        return false;
    }
    transferInProgress = false;
    if (abortRequested) {
        AbortTransfer();
        return false;
    }
    return true;
}

bool CFTPClient::SendFromSource(ITransferNotification& source, IBlockingSocket& dataSocket) {
    transferInProgress = true;
    try {
        for (;;) {
            long count = 0;
            source.ProduceBytes(dataBuffer, count);
            if (abortRequested || count == 0) {
                break;
            }
            dataSocket.SendAll(dataBuffer.data(), static_cast<int>(count), timeoutSeconds);
        }
    } catch (CBlockingSocketException& e) {
        FailDataSocket(e, dataSocket);
        return false;
    }
    transferInProgress = false;
    if (abortRequested) {
        AbortTransfer();
        return false;
    }
    return true;
}

bool CFTPClient::ListDirectory(const std::wstring& path,
                               std::vector<nsSP::RCIPtr<CFTPFileStatus>>& entries, bool passive) {
    COutputStream stream(wireEncoding);
    if (!RunDataCommand(DataCommand::List, path, DataRepresentation{}, passive, stream)) {
        return false;
    }
    entries.clear();
    const ListingContext context{CurrentYearUtc(static_cast<std::int64_t>(std::time(nullptr)))};
    std::wstring line;
    auto entry = nsSP::MakeRC<CFTPFileStatus>();
    while (stream.TakeLine(line)) {
        if (ParseListLine(line, *entry, context)) {
            entry->path = path;
            entries.push_back(entry);
            entry = nsSP::MakeRC<CFTPFileStatus>();
        }
    }
    return true;
}

std::unique_ptr<IBlockingSocket> CFTPClient::OpenTransfer(const std::wstring& path, bool passive,
                                                          bool upload) {
    std::unique_ptr<IBlockingSocket> dataSocket = controlSocket->NewInstance();
    if (!UseRepresentation(DataRepresentation{DataRepresentation::Image, 0})) {
        return nullptr;
    }
    if (!OpenDataConnection(upload ? DataCommand::Stor : DataCommand::Retr, path, passive,
                            *dataSocket)) {
        Discard(*dataSocket);
        return nullptr;
    }
    transferInProgress = true;
    return dataSocket;
}

bool CFTPClient::ReceiveBlock(IBlockingSocket& dataSocket, char* data, int size, int& received) {
    received = 0;
    if (size == 0) {
        return true;
    }
    try {
        received = dataSocket.ReceiveTimed(data, size, timeoutSeconds);
        return true;
    } catch (CBlockingSocketException& e) {
        FailDataSocket(e, dataSocket);
        return false;
    }
}

bool CFTPClient::SendBlock(IBlockingSocket& dataSocket, const char* data, int size, int& sent) {
    sent = 0;
    try {
        sent = dataSocket.SendAll(data, size, timeoutSeconds);
        return true;
    } catch (CBlockingSocketException& e) {
        FailDataSocket(e, dataSocket);
        return false;
    }
}

bool CFTPClient::CloseTransfer(std::unique_ptr<IBlockingSocket> dataSocket) {
    if (!dataSocket) {
        return true;
    }
    transferInProgress = false;
    CloseDataSocket(*dataSocket);
    dataSocket.reset();
    FTPReply reply;
    if (!ReadReply(reply, true) || reply.Class() != L'2') {
        ShowError(reply.text);
        return false;
    }
    return true;
}

CommandResult CFTPClient::AbortTransfer() {
    if (transferInProgress) {
        abortRequested = true;
        return 0;
    }
    abortRequested = false;
    return ExchangeCommand(L"ABOR");
}

} // namespace nsFTP
