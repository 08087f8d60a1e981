// Moves one file through the engine's block transfer operations, or times
// the listing parser. Driven by scripts/bench; also usable on its own against
// any server:
//   engine_bench --host H --port P --user U --password W --remote PATH
//                --local PATH [--upload] [--active] [--block BYTES]
//   engine_bench --parse-lines N

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

#include "Common/FTPClient.h"
#include "Common/ListingParser.h"

namespace {

using Clock = std::chrono::steady_clock;

std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

long PeakRssKib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

struct Options {
    std::string host = "127.0.0.1";
    int port = 21;
    std::string user = "anonymous";
    std::string password = "bench@example.com";
    std::string remote;
    std::string local;
    bool upload = false;
    bool passive = true;
    int block = 256 * 1024;
    long parseLines = 0;
};

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--host") {
            o.host = next();
        } else if (a == "--port") {
            o.port = std::stoi(next());
        } else if (a == "--user") {
            o.user = next();
        } else if (a == "--password") {
            o.password = next();
        } else if (a == "--remote") {
            o.remote = next();
        } else if (a == "--local") {
            o.local = next();
        } else if (a == "--upload") {
            o.upload = true;
        } else if (a == "--active") {
            o.passive = false;
        } else if (a == "--block") {
            o.block = std::stoi(next());
        } else if (a == "--parse-lines") {
            o.parseLines = std::stol(next());
        } else {
            std::fprintf(stderr, "unknown option %s\n", a.c_str());
            return false;
        }
    }
    return o.parseLines > 0 || (!o.remote.empty() && !o.local.empty());
}

int ParseBench(long lines) {
    // UNIX-style lines as real servers send them, varied enough that every
    // field is parsed and dates differ.
    static const wchar_t* const months[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                            L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
    std::vector<std::wstring> sample;
    for (int i = 0; i < 4096; ++i) {
        wchar_t line[160];
        std::swprintf(line, 160, L"%ls   1 user%d    group%d %10d %ls %2d %ls file-%06d.dat",
                      i % 7 ? L"-rw-r--r--" : L"drwxr-xr-x", i % 13, i % 5, i * 7919,
                      months[i % 12], 1 + i % 28, i % 3 ? L"12:34" : L" 2019", i);
        sample.emplace_back(line);
    }
    nsFTP::CFTPFileStatus entry;
    nsFTP::ListingContext context{2026};
    long accepted = 0;
    auto start = Clock::now();
    for (long i = 0; i < lines; ++i) {
        accepted += nsFTP::ParseListLine(sample[static_cast<std::size_t>(i) % sample.size()], entry,
                                         context);
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (accepted != lines) {
        std::fprintf(stderr, "only %ld of %ld lines parsed\n", accepted, lines);
        return 1;
    }
    std::printf("parse_lines_per_s %.0f\n", static_cast<double>(lines) / seconds);
    return 0;
}

int Transfer(const Options& o) {
    nsFTP::CFTPClient client(std::make_unique<nsSocket::CBlockingSocket>());
    nsFTP::LogonParameters logon;
    logon.host = Wide(o.host);
    logon.port = o.port;
    logon.user = Wide(o.user);
    logon.password = Wide(o.password);
    if (!client.LogOn(logon, 30)) {
        return 1;
    }
    int fd = o.upload ? ::open(o.local.c_str(), O_RDONLY | O_CLOEXEC)
                      : ::open(o.local.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::perror(o.local.c_str());
        return 1;
    }
    std::vector<char> block(static_cast<std::size_t>(o.block));
    auto start = Clock::now();
    auto data = client.OpenTransfer(Wide(o.remote), o.passive, o.upload);
    if (!data) {
        ::close(fd);
        return 1;
    }
    long long moved = 0;
    bool ok = true;
    for (;;) {
        int count = 0;
        if (o.upload) {
            ssize_t got = ::read(fd, block.data(), block.size());
            if (got <= 0) {
                ok = got == 0;
                break;
            }
            ok = client.SendBlock(*data, block.data(), static_cast<int>(got), count);
        } else {
            ok = client.ReceiveBlock(*data, block.data(), o.block, count);
            if (ok && count > 0 &&
                ::write(fd, block.data(), static_cast<std::size_t>(count)) != count) {
                ok = false;
            }
        }
        if (!ok || count == 0) {
            break;
        }
        moved += count;
    }
    ok = client.CloseTransfer(std::move(data)) && ok;
    ::close(fd);
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    client.Quit();
    if (!ok) {
        return 1;
    }
    std::printf("bytes %lld seconds %.6f peak_rss_kib %ld\n", moved, seconds, PeakRssKib());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: engine_bench --host H --port P --user U --password W "
                             "--remote PATH --local PATH [--upload] [--active] [--block BYTES]\n"
                             "       engine_bench --parse-lines N\n");
        return 2;
    }
    return options.parseLines > 0 ? ParseBench(options.parseLines) : Transfer(options);
}
