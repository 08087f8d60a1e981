#include "transfer/LocalDirectory.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

#include "platform/TextCodec.h"

namespace {

LocalEntry EntryFromStat(std::wstring name, const struct stat& info) {
    LocalEntry entry;
    entry.name = std::move(name);
    entry.isDirectory = S_ISDIR(info.st_mode);
    entry.size = entry.isDirectory ? 0 : static_cast<std::int64_t>(info.st_size);
    entry.modified = platform::FileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
    return entry;
}

} // namespace

bool ReadLocalDirectory(const std::wstring& path, std::vector<LocalEntry>& entries) {
    struct CloseDir {
        void operator()(DIR* d) const { ::closedir(d); }
    };
    std::unique_ptr<DIR, CloseDir> dir(::opendir(platform::ToUtf8(path).c_str()));
    if (!dir) {
        return false;
    }
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* found = ::readdir(dir.get())) {
        const std::string name = found->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        struct stat info {};
        if (::fstatat(dirFd, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        if (S_ISLNK(info.st_mode)) {
            if (::fstatat(dirFd, name.c_str(), &info, 0) != 0 || !S_ISREG(info.st_mode)) {
                continue;
            }
        }
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
            continue; // sockets, devices and pipes are not files to send
        }
        entries.push_back(EntryFromStat(platform::FromUtf8(name), info));
    }
    return true;
}

bool ReadLocalEntry(const std::wstring& path, LocalEntry& entry) {
    struct stat info {};
    if (::stat(platform::ToUtf8(path).c_str(), &info) != 0) {
        return false;
    }
    std::size_t slash = path.find_last_of(L'/');
    entry = EntryFromStat(slash == std::wstring::npos ? path : path.substr(slash + 1), info);
    return true;
}
