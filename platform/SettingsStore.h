#pragma once
// The per-user settings store: registry-style keys holding named binary and
// 32-bit values, kept in one text file in the syntax of a registry export.
// Every change is written at once by an atomic replace under an advisory
// lock, so a crash or a second running instance never loses what was saved;
// a change made by another process is read back before the next access.

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform {

enum class ValueType : std::uint32_t {
    Binary = 3, // REG_BINARY
    Dword = 4,  // REG_DWORD, four little-endian bytes
};

struct SettingsValue {
    std::wstring name;
    ValueType type = ValueType::Binary;
    std::vector<std::uint8_t> data;
};

// One key with its values in the order they were first written.
struct SettingsKey {
    std::wstring path;
    std::vector<SettingsValue> values;
};

class CSettingsStore {
public:
    // The store in the given file (created on the first change).
    explicit CSettingsStore(std::filesystem::path file);
    CSettingsStore(const CSettingsStore&) = delete;
    CSettingsStore& operator=(const CSettingsStore&) = delete;

    // $XDG_CONFIG_HOME/PellixFTP/settings.reg, or ~/.config/PellixFTP/settings.reg.
    static std::filesystem::path DefaultPath();

    // Key paths are relative to the user's root ("Software\PellixFTP\Sites");
    // key and value names compare without regard to case.
    // Opens the key, creating it when absent. False when the store cannot be written.
    bool CreateKey(const std::wstring& key);
    bool KeyExists(const std::wstring& key);
    // The key's value names in the order they were first written.
    std::vector<std::wstring> ValueNames(const std::wstring& key);
    std::optional<SettingsValue> QueryValue(const std::wstring& key, const std::wstring& name);
    // Creates the key if needed and sets the value with exactly these bytes.
    bool SetValue(const std::wstring& key, const std::wstring& name, ValueType type,
                  const std::vector<std::uint8_t>& data);
    bool SetDword(const std::wstring& key, const std::wstring& name, std::uint32_t value);
    std::optional<std::uint32_t> QueryDword(const std::wstring& key, const std::wstring& name);
    // Deletes the value; a missing value is not an error.
    bool DeleteValue(const std::wstring& key, const std::wstring& name);

    const std::filesystem::path& File() const { return file; }

private:
    using Key = SettingsKey;
    struct FileIdentity {
        dev_t device = 0;
        ino_t inode = 0;
        std::int64_t modifiedNs = 0;
        off_t size = -1;
        bool operator==(const FileIdentity&) const = default;
    };

    // Re-reads the file when another process has replaced it.
    void Refresh();
    void Load();
    // Runs change on the freshest content and writes the result, under the lock.
    template <typename Change> bool Modify(Change change);
    bool WriteFile();
    Key* FindKey(const std::wstring& key);
    Key& AddKey(const std::wstring& key);
    std::optional<FileIdentity> Identity() const;

    std::filesystem::path file;
    std::mutex lock;
    std::vector<Key> keys;
    std::optional<FileIdentity> loaded;
};

// The store the program uses, set once at start-up (tests set their own).
void SetSettingsStore(CSettingsStore* store);
// The installed store; one at the default path is made on first use when
// none was installed.
CSettingsStore& Settings();

} // namespace platform
