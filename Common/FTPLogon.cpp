// CFTPClient::LogOn: one loop walks the logon table of the chosen type.

#include "Common/FTPClient.h"
#include "Common/LogonTable.h"

namespace nsFTP {

using nsSocket::ShowError;

bool CFTPClient::LogOn(const LogonParameters& parameters, int timeout) {
    logonParameters = parameters;
    timeoutSeconds = timeout;
    const bool direct = parameters.logonType == 0;
    if (parameters.logonType < 0 || parameters.logonType >= LogonTypeCount) {
        ShowError(L"Logon failed.");
        return false;
    }
    const std::wstring& targetHost = direct ? parameters.host : parameters.firewallHost;
    const int targetPort = direct ? parameters.port : parameters.firewallPort;
    const std::wstring hostPart = LogonHostPart(parameters);

    if (IsConnected()) {
        Quit();
    }
    if (!OpenControlConnection(targetHost, static_cast<unsigned short>(targetPort))) {
        return false;
    }
    FTPReply reply;
    if (!ReadReply(reply, true) || reply.Class() != L'2') {
        // The connection stays open; the next LogOn ends it with QUIT.
        ShowError(reply.text);
        return false;
    }

    const LogonRow& row = LogonSequence(parameters.logonType);
    int state = 0;
    for (int step = 0; step < 6; ++step) {
        const std::wstring command =
            LogonCommand(row[static_cast<std::size_t>(state)], parameters, hostPart);
        reply.Clear();
        if (!SendCommandLine(command, true) || !ReadReply(reply, true)) {
            ShowError(reply.text);
            return false;
        }
        if (reply.Class() != L'2' && reply.Class() != L'3') {
            ShowError(reply.text);
            return false;
        }
        const int next = row[static_cast<std::size_t>(state + (reply.Class() - L'0') - 1)];
        if (next == LoggedOn) {
            cachedDirectory.clear();
            std::wstring directory;
            return QueryCurrentDirectory(directory) == 0;
        }
        if (next == LogonRefused) {
            break;
        }
        state = next;
    }
    ShowError(L"Logon failed.");
    return false;
}

} // namespace nsFTP
