#include "connection/ServerConnection.h"

#include <algorithm>
#include <cwctype>

#include "connection/StatusText.h"
#include "connection/Utilities.h"
#include "platform/TextCodec.h"
#include "platform/BusyCursor.h"

namespace {

using Lock = std::unique_lock<std::recursive_mutex>;

// Taken by every call: fails at once while a worker on another thread holds
// the client.
Lock TryClient(std::recursive_mutex& mutex) {
    return Lock(mutex, std::try_to_lock);
}

std::wstring Trim(const std::wstring& text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && std::iswspace(static_cast<wint_t>(text[start]))) {
        ++start;
    }
    while (end > start && std::iswspace(static_cast<wint_t>(text[end - 1]))) {
        --end;
    }
    return text.substr(start, end - start);
}

void ClearCountPanes() {
    for (int pane = 1; pane <= 3; ++pane) {
        PostStatusText(pane, L"");
    }
}

} // namespace

CServerConnection::CServerConnection() : client(std::make_unique<nsSocket::CBlockingSocket>()) {}

CServerConnection::CServerConnection(platform::CSettingsStore& store)
    : client(std::make_unique<nsSocket::CBlockingSocket>()), sites(store) {}

CServerConnection::~CServerConnection() {
    Lock lock(clientMutex);
    if (client.IsConnected()) {
        client.Quit();
    }
    ClearCountPanes();
}

bool CServerConnection::ConnectToSite(const SiteRecord& site) {
    Lock lock = TryClient(clientMutex);
    if (!lock) {
        return false;
    }
    platform::CBusyCursor busy;
    ClearCountPanes();
    logonData.host = GetText(site.host);
    logonData.port = static_cast<unsigned short>(site.port);
    logonData.account.clear();
    if (site.anonymous) {
        logonData.user = L"anonymous";
        logonData.password = AnonymousPassword;
    } else {
        logonData.user = GetText(site.userName);
        logonData.password = GetText(site.password);
    }
    if (!client.LogOn(logonData, site.timeoutSeconds)) {
        // A refused logon leaves the control connection open but not logged
        // on; end it, or the program would count itself connected.
        if (client.IsConnected()) {
            client.Quit();
        }
        return false;
    }
    connectedSite = site;
    currentDirectory = WorkingDirectory();
    return true;
}

void CServerConnection::OpenInitialDirectory(const std::wstring& initial) {
    if (!IsConnected()) {
        return;
    }
    std::wstring dir = Trim(initial);
    if (dir.empty()) {
        return;
    }
    std::replace(dir.begin(), dir.end(), L'\\', L'/');
    // Strip the logon directory only where it ends a path component:
    // /home/user2 does not lie under /home/u.
    if (!currentDirectory.empty() && platform::StartsWithNoCase(dir, currentDirectory) &&
        (dir.size() == currentDirectory.size() || currentDirectory.back() == L'/' ||
         dir[currentDirectory.size()] == L'/')) {
        dir.erase(0, currentDirectory.size());
    }
    if (!dir.empty() && dir[0] == L'/') {
        dir.erase(0, 1);
    }
    dir = Trim(dir);
    if (dir.empty()) {
        return;
    }
    if (!ChangeWorkingDirectory(JoinRemotePath(currentDirectory, dir))) {
        ChangeWorkingDirectory(currentDirectory);
    }
}

bool CServerConnection::IsConnected() {
    Lock lock = TryClient(clientMutex);
    return lock && client.IsConnected();
}

std::wstring CServerConnection::WorkingDirectory() {
    Lock lock = TryClient(clientMutex);
    std::wstring directory;
    if (!lock || client.QueryCurrentDirectory(directory) != 0) {
        return {};
    }
    return directory;
}

bool CServerConnection::ChangeWorkingDirectory(const std::wstring& path) {
    Lock lock = TryClient(clientMutex);
    return lock && client.ChangeDirectory(path) == 0;
}

bool CServerConnection::MakeDirectory(const std::wstring& path, bool report) {
    Lock lock = TryClient(clientMutex);
    return lock && client.CreateRemoteDirectory(path, report) == 0;
}

bool CServerConnection::ListInto(const std::wstring& path,
                                 std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>>& entries) {
    // Some servers (pyftpdlib, pure-ftpd) refuse LIST with a path holding a
    // space: list the working directory without a path, and any other such
    // directory by changing into it and back.
    const std::wstring working = WorkingDirectory();
    bool listed;
    if (path == working) {
        listed = client.ListDirectory(L"", entries, Passive());
    } else if (path.find(L' ') != std::wstring::npos && !working.empty()) {
        if (!ChangeWorkingDirectory(path)) {
            return false;
        }
        listed = client.ListDirectory(L"", entries, Passive());
        ChangeWorkingDirectory(working);
    } else {
        return client.ListDirectory(path, entries, Passive());
    }
    if (listed) {
        for (auto& entry : entries) {
            entry->path = path;
        }
    }
    return listed;
}

bool CServerConnection::ListDirectory(const std::wstring& path,
                                      std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>>& entries) {
    Lock lock = TryClient(clientMutex);
    return lock && ListInto(path, entries);
}

std::unique_ptr<nsSocket::IBlockingSocket> CServerConnection::OpenTransfer(const std::wstring& path,
                                                                           bool store) {
    Lock lock = TryClient(clientMutex);
    if (!lock) {
        return nullptr;
    }
    return client.OpenTransfer(path, Passive(), store);
}

void CServerConnection::RemoveRemoteDirectory(const std::wstring& path) {
    if (Lock lock = TryClient(clientMutex)) {
        client.RemoveRemoteDirectory(path);
    }
}

void CServerConnection::DeleteRemoteFile(const std::wstring& path) {
    if (Lock lock = TryClient(clientMutex)) {
        client.DeleteRemoteFile(path);
    }
}

void CServerConnection::RenameRemote(const std::wstring& from, const std::wstring& to) {
    if (Lock lock = TryClient(clientMutex)) {
        client.RenameRemote(from, to);
    }
}

void CServerConnection::RefreshListing() {
    Lock lock = TryClient(clientMutex);
    if (!lock) {
        return;
    }
    platform::CBusyCursor busy;
    listingCache.clear();
    const std::wstring path = WorkingDirectory();
    std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> statuses;
    if (!ListInto(path, statuses)) {
        return;
    }
    for (const auto& status : statuses) {
        if (status->name == L"." || status->name == L"..") {
            continue;
        }
        listingCache.push_back(MakeListingEntry(*status));
    }
    std::sort(listingCache.begin(), listingCache.end(), CompareListingEntries);
}

void CServerConnection::Quit() {
    if (Lock lock = TryClient(clientMutex)) {
        client.Quit();
    }
}

void CServerConnection::SendKeepAlive() {
    Lock lock = TryClient(clientMutex);
    if (lock && client.IsConnected() && connectedSite.keepAlive) {
        client.SendKeepAlive();
    }
}

std::wstring DisconnectedTitle() {
    return L"Disconnected";
}

std::wstring ConnectedTitle(const SiteRecord& site) {
    return GetText(site.label) + L" (" + GetText(site.host) + L":" +
           std::to_wstring(static_cast<unsigned short>(site.port)) + L")";
}
