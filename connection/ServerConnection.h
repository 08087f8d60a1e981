#pragma once
// The program's one connection: the FTP client, the site it was opened with,
// the saved sites, and the listing of the directory on show.
//
// One caller at a time uses the client. A worker thread holds a lease for
// the whole of its job; while it does, every call from another thread (the
// keep-alive timer, the user interface) returns at once without touching the
// client.

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Common/FTPClient.h"
#include "connection/ListingEntry.h"
#include "sites/SiteList.h"

// The e-mail-shaped password sent for anonymous logons.
inline const wchar_t* const AnonymousPassword = L"pellixftp@example.com";

class CServerConnection {
public:
    // Holds the client for one worker's job; others are refused meanwhile.
    class CClientLease {
    public:
        explicit CClientLease(std::recursive_mutex& mutex) : lock(mutex) {}

    private:
        std::unique_lock<std::recursive_mutex> lock;
    };

    // Uses the program's settings store for the sites unless one is given.
    CServerConnection();
    explicit CServerConnection(platform::CSettingsStore& store);
    // Sends QUIT when still connected.
    ~CServerConnection();
    CServerConnection(const CServerConnection&) = delete;
    CServerConnection& operator=(const CServerConnection&) = delete;

    // Logs on with the site; on success remembers it and the logon directory.
    bool ConnectToSite(const SiteRecord& site);
    // Changes to the site's initial directory, taken relative to the logon
    // directory; goes back to the logon directory when it is refused.
    void OpenInitialDirectory(const std::wstring& directory);
    bool IsConnected();
    // The working directory, or "" when it cannot be had.
    std::wstring WorkingDirectory();
    bool ChangeWorkingDirectory(const std::wstring& path);
    bool MakeDirectory(const std::wstring& path, bool report);
    // Lists a directory with the site's passive setting.
    bool ListDirectory(const std::wstring& path,
                       std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>>& entries);
    // Starts a download (store false) or upload (store true).
    std::unique_ptr<nsSocket::IBlockingSocket> OpenTransfer(const std::wstring& path, bool store);
    void RemoveRemoteDirectory(const std::wstring& path);
    void DeleteRemoteFile(const std::wstring& path);
    void RenameRemote(const std::wstring& from, const std::wstring& to);
    // Reloads listingCache from the working directory, sorted.
    void RefreshListing();
    void Quit();
    // The silent keep-alive, skipped while a worker holds the client or the
    // site does not want it.
    void SendKeepAlive();

    // For a worker's whole job (blocks until the client is free).
    CClientLease HoldClient() { return CClientLease(clientMutex); }
    // The client itself, for the block transfers of a worker holding a lease.
    nsFTP::CFTPClient& Client() { return client; }

    std::vector<ListingEntry> listingCache;
    SiteRecord connectedSite = SiteRecord::Zeroed();
    SiteList& Sites() { return sites; }
    const std::wstring& CurrentDirectory() const { return currentDirectory; }

private:
    bool Passive() const { return connectedSite.passiveMode != 0; }
    bool ListInto(const std::wstring& path,
                  std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>>& entries);

    std::recursive_mutex clientMutex;
    nsFTP::CFTPClient client;
    nsFTP::LogonParameters logonData;
    SiteList sites;
    std::wstring currentDirectory;
};

// The document's title: "Disconnected", or "label (host:port)" once connected.
std::wstring DisconnectedTitle();
std::wstring ConnectedTitle(const SiteRecord& site);
