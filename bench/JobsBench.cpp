// Runs one upload or download job through the transfer dialog core, as the
// program does, and reports the bytes moved, the time and the peak RSS:
//   jobs_bench --host H --port P --user U --password W --mode upload|download
//              --target DIR [--block BYTES] ITEM...
// Upload items are local paths; download items are remote paths.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <vector>

#include "connection/ServerConnection.h"
#include "platform/SettingsStore.h"
#include "platform/TextCodec.h"
#include "tests/support/HeadlessTransferWindow.h"
#include "transfer/LocalDirectory.h"

namespace {

std::wstring Wide(const std::string& text) {
    return platform::FromUtf8(text);
}

std::wstring Parent(const std::wstring& path) {
    std::size_t slash = path.find_last_of(L'/');
    return slash == 0 || slash == std::wstring::npos ? L"/" : path.substr(0, slash);
}

} // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1", user, password, mode, target;
    int port = 21;
    int block = DefaultTransferBlockSize;
    std::vector<std::string> items;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--host") {
            host = next();
        } else if (a == "--port") {
            port = std::stoi(next());
        } else if (a == "--user") {
            user = next();
        } else if (a == "--password") {
            password = next();
        } else if (a == "--mode") {
            mode = next();
        } else if (a == "--target") {
            target = next();
        } else if (a == "--block") {
            block = std::stoi(next());
        } else {
            items.push_back(a);
        }
    }
    if ((mode != "upload" && mode != "download") || target.empty() || items.empty()) {
        std::fprintf(stderr, "usage: jobs_bench --host H --port P --user U --password W "
                             "--mode upload|download --target DIR [--block BYTES] ITEM...\n");
        return 2;
    }
    const std::filesystem::path storePath = std::filesystem::temp_directory_path() /
                                            ("jobs-bench-" + std::to_string(::getpid()) + ".reg");
    platform::CSettingsStore store(storePath);
    CServerConnection connection(store);
    SiteRecord site;
    SetText(site.host, Wide(host));
    site.port = port;
    SetText(site.userName, Wide(user));
    SetText(site.password, Wide(password));
    site.timeoutSeconds = 30;
    if (!connection.ConnectToSite(site)) {
        return 1;
    }
    auto list = std::make_unique<TransferList>(&connection);
    for (const std::string& item : items) {
        const std::wstring path = Wide(item);
        if (mode == "upload") {
            LocalEntry entry;
            if (!ReadLocalEntry(path, entry)) {
                std::fprintf(stderr, "cannot read %s\n", item.c_str());
                return 1;
            }
            list->AddItem(entry.size, entry.isDirectory ? LocalDirectoryAttribute : 0, entry.name,
                          path, entry.modified);
            continue;
        }
        std::vector<nsSP::RCIPtr<nsFTP::CFTPFileStatus>> statuses;
        connection.ListDirectory(Parent(path), statuses);
        const std::wstring name = path.substr(path.find_last_of(L'/') + 1);
        for (const auto& status : statuses) {
            ListingEntry entry = MakeListingEntry(*status);
            if (entry.name == name) {
                list->AddItem(entry.size, entry.isDirectory, entry.name, path, entry.modified);
            }
        }
    }
    testsupport::CHeadlessTransferWindow window;
    auto start = std::chrono::steady_clock::now();
    int result;
    {
        CTransferDialogCore core(connection, std::move(list), Wide(target),
                                 mode == "upload" ? ModeUpload : ModeDownload, window);
        core.SetBlockSize(block);
        result = window.Run(core, 3600 * 1000);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    connection.Quit();
    std::filesystem::remove(storePath);
    std::filesystem::remove(storePath.string() + ".lock");
    if (result != platform::IdOk || window.barPosition != window.barRange) {
        std::fprintf(stderr, "the job did not finish (%llu of %llu bytes)\n",
                     static_cast<unsigned long long>(window.barPosition),
                     static_cast<unsigned long long>(window.barRange));
        return 1;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("bytes %llu seconds %.6f peak_rss_kib %ld\n",
                static_cast<unsigned long long>(window.barPosition), seconds, usage.ru_maxrss);
    return 0;
}
