#include "platform/SettingsStore.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/MessageService.h"
#include "platform/SettingsFile.h"
#include "platform/TextCodec.h"

namespace platform {
namespace fs = std::filesystem;

namespace {

std::atomic<CSettingsStore*> installedStore{nullptr};

// A descriptor closed when it goes out of scope.
struct FileDescriptor {
    int fd = -1;
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

SettingsValue* FindValue(SettingsKey& key, const std::wstring& name) {
    for (SettingsValue& v : key.values) {
        if (EqualNoCase(v.name, name)) {
            return &v;
        }
    }
    return nullptr;
}

} // namespace

CSettingsStore::CSettingsStore(fs::path path) : file(std::move(path)) {
    std::lock_guard guard(lock);
    Load();
}

fs::path CSettingsStore::DefaultPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    fs::path base;
    if (config && *config == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home && *home ? home : "/tmp") / ".config";
    }
    return base / "PellixFTP" / "settings.reg";
}

std::optional<CSettingsStore::FileIdentity> CSettingsStore::Identity() const {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{info.st_dev, info.st_ino,
                        static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 +
                            info.st_mtim.tv_nsec,
                        info.st_size};
}

void CSettingsStore::Load() {
    keys.clear();
    loaded = Identity();
    if (!loaded) {
        return;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), {});
    std::vector<SettingsKey> parsed;
    std::string error;
    if (!in.bad() && ParseSettingsFile(text, parsed, error)) {
        // Merge repeated keys and values, as a registry import would.
        for (SettingsKey& k : parsed) {
            Key& target = AddKey(k.path);
            for (SettingsValue& v : k.values) {
                if (SettingsValue* existing = FindValue(target, v.name)) {
                    *existing = std::move(v);
                } else {
                    target.values.push_back(std::move(v));
                }
            }
        }
        return;
    }
    // Never overwrite what cannot be read: keep it aside and start empty.
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    fs::path kept = file;
    kept += std::string(".unreadable-") + stamp;
    for (int n = 1; fs::exists(kept) && n < 1000; ++n) {
        kept = file;
        kept += std::string(".unreadable-") + stamp + "-" + std::to_string(n);
    }
    std::error_code renameError;
    fs::rename(file, kept, renameError);
    loaded = Identity();
    ShowMessage(L"The settings file\n" + FromUtf8(file.string()) + L"\ncould not be read (" +
                    FromUtf8(error) + L").\n\nIt was kept as\n" + FromUtf8(kept.string()) +
                    L"\nand Pellix FTP starts with empty settings.",
                ProgramCaption(), MbIconWarning);
}

void CSettingsStore::Refresh() {
    if (Identity() != loaded) {
        Load();
    }
}

CSettingsStore::Key* CSettingsStore::FindKey(const std::wstring& key) {
    for (Key& k : keys) {
        if (EqualNoCase(k.path, key)) {
            return &k;
        }
    }
    return nullptr;
}

CSettingsStore::Key& CSettingsStore::AddKey(const std::wstring& key) {
    if (Key* existing = FindKey(key)) {
        return *existing;
    }
    keys.push_back({key, {}});
    return keys.back();
}

template <typename Change> bool CSettingsStore::Modify(Change change) {
    std::error_code ignored;
    fs::create_directories(file.parent_path(), ignored);
    ::chmod(file.parent_path().c_str(), 0700);
    fs::path lockPath = file;
    lockPath += ".lock";
    FileDescriptor lockFile(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
    if (lockFile.fd < 0) {
        return false;
    }
    int locked;
    do {
        locked = ::flock(lockFile.fd, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        return false;
    }
    // Another process may have saved since we last looked: change its content.
    Refresh();
    if (!change()) {
        return true;
    }
    return WriteFile();
}

bool CSettingsStore::WriteFile() {
    static std::atomic<unsigned> counter{0};
    fs::path temp = file;
    temp += ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
    {
        FileDescriptor out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (out.fd < 0) {
            return false;
        }
        if (!WriteAll(out.fd, FormatSettingsFile(keys)) || ::fsync(out.fd) != 0) {
            ::unlink(temp.c_str());
            return false;
        }
    }
    if (::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    FileDescriptor directory(
        ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.fd >= 0) {
        ::fsync(directory.fd);
    }
    loaded = Identity();
    return true;
}

bool CSettingsStore::CreateKey(const std::wstring& key) {
    std::lock_guard guard(lock);
    Refresh();
    if (FindKey(key)) {
        return true;
    }
    return Modify([&] {
        if (FindKey(key)) {
            return false;
        }
        AddKey(key);
        return true;
    });
}

bool CSettingsStore::KeyExists(const std::wstring& key) {
    std::lock_guard guard(lock);
    Refresh();
    return FindKey(key) != nullptr;
}

std::vector<std::wstring> CSettingsStore::ValueNames(const std::wstring& key) {
    std::lock_guard guard(lock);
    Refresh();
    std::vector<std::wstring> names;
    if (Key* k = FindKey(key)) {
        for (const SettingsValue& v : k->values) {
            names.push_back(v.name);
        }
    }
    return names;
}

std::optional<SettingsValue> CSettingsStore::QueryValue(const std::wstring& key,
                                                        const std::wstring& name) {
    std::lock_guard guard(lock);
    Refresh();
    if (Key* k = FindKey(key)) {
        if (SettingsValue* v = FindValue(*k, name)) {
            return *v;
        }
    }
    return std::nullopt;
}

bool CSettingsStore::SetValue(const std::wstring& key, const std::wstring& name, ValueType type,
                              const std::vector<std::uint8_t>& data) {
    if (!IsStorableName(name) || !IsStorableName(key)) {
        return false;
    }
    std::lock_guard guard(lock);
    return Modify([&] {
        Key& k = AddKey(key);
        if (SettingsValue* existing = FindValue(k, name)) {
            // The first-written name and position stay; type and bytes change.
            existing->type = type;
            existing->data = data;
        } else {
            k.values.push_back({name, type, data});
        }
        return true;
    });
}

bool CSettingsStore::SetDword(const std::wstring& key, const std::wstring& name,
                              std::uint32_t value) {
    return SetValue(key, name, ValueType::Dword,
                    {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                     static_cast<std::uint8_t>(value >> 16),
                     static_cast<std::uint8_t>(value >> 24)});
}

std::optional<std::uint32_t> CSettingsStore::QueryDword(const std::wstring& key,
                                                        const std::wstring& name) {
    std::optional<SettingsValue> value = QueryValue(key, name);
    if (!value || value->data.size() != 4) {
        return std::nullopt;
    }
    const auto& d = value->data;
    return d[0] | d[1] << 8 | d[2] << 16 | static_cast<std::uint32_t>(d[3]) << 24;
}

bool CSettingsStore::DeleteValue(const std::wstring& key, const std::wstring& name) {
    std::lock_guard guard(lock);
    return Modify([&] {
        Key* k = FindKey(key);
        if (!k) {
            return false;
        }
        for (auto it = k->values.begin(); it != k->values.end(); ++it) {
            if (EqualNoCase(it->name, name)) {
                k->values.erase(it);
                return true;
            }
        }
        return false;
    });
}

void SetSettingsStore(CSettingsStore* store) {
    installedStore.store(store, std::memory_order_release);
}

CSettingsStore& Settings() {
    if (CSettingsStore* store = installedStore.load(std::memory_order_acquire)) {
        return *store;
    }
    static CSettingsStore defaultStore(CSettingsStore::DefaultPath());
    return defaultStore;
}

} // namespace platform
