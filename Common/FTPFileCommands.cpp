// CFTPClient: the single-reply commands on remote files and directories, and
// the cache of the working directory.

#include "Common/DirectoryReply.h"
#include "Common/FTPClient.h"

namespace nsFTP {

using nsSocket::ShowError;

CommandResult CFTPClient::QueryCurrentDirectory(std::wstring& directory) {
    if (!cachedDirectory.empty()) {
        directory = cachedDirectory;
        return 0;
    }
    FTPReply reply;
    if (!SendCommandAndReadReply(L"PWD", reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    if (reply.Class() == L'2') {
        cachedDirectory = ParseDirectoryReply(reply.text);
    }
    if (!cachedDirectory.empty()) {
        directory = cachedDirectory;
        return EvaluateReply(reply, true);
    }
    ShowError(reply.text);
    return -1;
}

CommandResult CFTPClient::ChangeDirectory(const std::wstring& path) {
    CommandResult result = ExchangeCommand(L"CWD " + path);
    if (result == 0) {
        cachedDirectory = path;
    }
    return result;
}

CommandResult CFTPClient::SendKeepAlive() {
    FTPReply reply;
    if (!SendCommandLine(L"PWD", false) || !ReadReply(reply, false)) {
        return -1;
    }
    switch (reply.Class()) {
    case L'2':
        return 0;
    case L'4':
    case L'5':
        return 1;
    default:
        return -1;
    }
}

CommandResult CFTPClient::CreateRemoteDirectory(const std::wstring& path, bool showErrors) {
    FTPReply reply;
    if (!SendCommandLine(L"MKD " + path, true) || !ReadReply(reply, true)) {
        if (showErrors) {
            ShowError(reply.text);
        }
        return -1;
    }
    return EvaluateReply(reply, showErrors);
}

CommandResult CFTPClient::RemoveRemoteDirectory(const std::wstring& path) {
    return ExchangeCommand(L"RMD " + path);
}

CommandResult CFTPClient::DeleteRemoteFile(const std::wstring& path) {
    return ExchangeCommand(L"DELE " + path);
}

CommandResult CFTPClient::RenameRemote(const std::wstring& oldPath, const std::wstring& newPath) {
    FTPReply reply;
    if (!SendCommandLine(L"RNFR " + oldPath, true) || !ReadReply(reply, true)) {
        ShowError(reply.text);
        return -1;
    }
    switch (reply.Class()) {
    case L'3': {
        FTPReply renameTo;
        if (!SendCommandAndReadReply(L"RNTO " + newPath, renameTo, true)) {
            ShowError(renameTo.text);
            return -1;
        }
        return EvaluateReply(renameTo, true);
    }
    case L'4':
    case L'5':
        ShowError(reply.text);
        return 1;
    default:
        ShowError(reply.text);
        return -1;
    }
}

CommandResult CFTPClient::SendSiteCommand(const std::wstring& text) {
    return ExchangeCommand(L"SITE " + text);
}

} // namespace nsFTP
