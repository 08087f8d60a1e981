#pragma once
// A real server, a connection logged on to it, and helpers that build
// transfer lists the way the commands do.

#include <filesystem>
#include <fstream>
#include <random>

#include "connection/ServerConnection.h"
#include "connection/Utilities.h"
#include "platform/SettingsStore.h"
#include "tests/support/HeadlessTransferWindow.h"
#include "tests/support/RealServerFixture.h"
#include "tests/support/TempDir.h"
#include "transfer/LocalDirectory.h"

namespace testsupport {

inline std::string RandomContent(std::size_t size, unsigned seed) {
    std::mt19937 generator(seed);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator());
    }
    return bytes;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// Adds a local file or folder as a drop would.
inline void AddLocal(TransferList& list, const std::filesystem::path& path) {
    LocalEntry entry;
    ReadLocalEntry(path.wstring(), entry);
    list.AddItem(entry.size, entry.isDirectory ? LocalDirectoryAttribute : 0, entry.name,
                 path.wstring(), entry.modified);
}

// Adds remote entries of the connection's listing of a folder, as the view does.
inline void AddRemote(TransferList& list, CServerConnection& connection, const std::wstring& folder,
                      const std::vector<std::wstring>& names) {
    std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> statuses;
    connection.ListDirectory(folder, statuses);
    for (const std::wstring& name : names) {
        for (const auto& status : statuses) {
            ListingEntry entry = MakeListingEntry(*status);
            if (entry.name == name) {
                list.AddItem(entry.size, entry.isDirectory, entry.name,
                             JoinRemotePath(folder, entry.name), entry.modified);
            }
        }
    }
}

class TransferTest : public RealServerTest {
protected:
    void SetUp() override {
        RealServerTest::SetUp();
        SiteRecord site;
        SetText(site.label, L"test");
        SetText(site.host, L"127.0.0.1");
        site.port = server->Port();
        SetText(site.userName, Wide(server->User()));
        SetText(site.password, Wide(server->Password()));
        ASSERT_TRUE(connection.ConnectToSite(site));
    }
    // Runs a job to its end and returns the dialog's result.
    int Run(std::unique_ptr<TransferList> list, const std::wstring& target, TransferMode mode,
            int blockSize = DefaultTransferBlockSize) {
        CTransferDialogCore core(connection, std::move(list), target, mode, window);
        core.SetBlockSize(blockSize);
        return window.Run(core);
    }
    std::unique_ptr<TransferList> NewList() { return std::make_unique<TransferList>(&connection); }
    // Files written by the test become the server user's.
    void HandOver() { server->HandOver(server->Root()); }

    CTempDir local;
    platform::CSettingsStore store{local / ".settings.reg"};
    CServerConnection connection{store};
    CHeadlessTransferWindow window;
};

} // namespace testsupport
