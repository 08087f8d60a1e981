#include <cstdlib>
#include <cstring>

#include "connection/Utilities.h"
#include "platform/SettingsStore.h"
#include "platform/ShellOpen.h"
#include "platform/TextCodec.h"

namespace {

constexpr std::size_t TempSettingLimit = 8192;

std::wstring SystemTempDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::wstring path = platform::FromUtf8(tmp && *tmp == '/' ? tmp : "/tmp");
    if (path.back() != L'/') {
        path += L'/';
    }
    return path;
}

} // namespace

bool ReadTempDirSetting(std::uint8_t* buffer, std::size_t size) {
    platform::CSettingsStore& store = platform::Settings();
    if (!store.KeyExists(SettingsKeyPath)) {
        return false;
    }
    std::optional<platform::SettingsValue> value = store.QueryValue(SettingsKeyPath, L"Tep");
    if (!value || value->data.size() > size) {
        return false;
    }
    std::memcpy(buffer, value->data.data(), value->data.size());
    return true;
}

bool WriteTempDirSetting(const std::uint8_t* bytes, std::size_t count) {
    return platform::Settings().SetValue(SettingsKeyPath, L"Tep", platform::ValueType::Binary,
                                         std::vector<std::uint8_t>(bytes, bytes + count));
}

std::vector<std::uint8_t> EncodeTempDirSetting(const std::wstring& path) {
    std::u16string units = platform::ToUtf16(path);
    std::vector<std::uint8_t> bytes;
    bytes.reserve(units.size() * 2 + 1);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<std::uint8_t>(unit));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    return bytes;
}

std::wstring GetTempDirectory() {
    std::vector<std::uint8_t> buffer(TempSettingLimit, 0);
    if (ReadTempDirSetting(buffer.data(), buffer.size())) {
        std::u16string units;
        // The zero-filled buffer ends the text; a full buffer ends at its end.
        for (std::size_t i = 0; i + 1 < buffer.size(); i += 2) {
            char16_t unit = static_cast<char16_t>(buffer[i] | buffer[i + 1] << 8);
            if (unit == 0) {
                break;
            }
            units.push_back(unit);
        }
        if (!units.empty()) {
            return platform::FromUtf16(units);
        }
    }
    return SystemTempDirectory();
}

void OpenWithShell(const std::wstring& target) {
    platform::OpenWithDesktop(target);
}
