#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/SettingsFile.h"
#include "platform/SettingsStore.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/TempDir.h"

using namespace platform;
using testsupport::CTempDir;
namespace fs = std::filesystem;

namespace {

const std::wstring Key = L"Software\\PellixFTP\\Sites";

std::vector<std::uint8_t> AllBytes() {
    std::vector<std::uint8_t> bytes(300);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(i);
    }
    return bytes;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(SettingsStore, ValuesKeepTypeBytesAndFirstWrittenOrder) {
    CTempDir dir;
    const fs::path file = dir / "PellixFTP/settings.reg";
    {
        CSettingsStore store(file);
        EXPECT_FALSE(store.KeyExists(Key));
        EXPECT_TRUE(store.CreateKey(Key));
        EXPECT_TRUE(store.KeyExists(L"SOFTWARE\\pellixftp\\sites"));
        EXPECT_TRUE(store.SetValue(Key, L"zeta", ValueType::Binary, AllBytes()));
        EXPECT_TRUE(
            store.SetValue(Key, L"Alpha \"quoted\" \\ \u00e9\u4e2d", ValueType::Binary, {}));
        EXPECT_TRUE(store.SetDword(L"SOFTWARE\\PellixFTP\\Layout", L"ToolBar", 0x0a));
        EXPECT_TRUE(store.SetValue(Key, L"ZETA", ValueType::Binary, {1, 2, 3}));
        EXPECT_TRUE(store.SetValue(Key, L"middle", ValueType::Binary, {0}));
    }
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_NE(ReadFile(file).find("[HKEY_CURRENT_USER\\Software\\PellixFTP\\Sites]"),
              std::string::npos);
    EXPECT_NE(ReadFile(file).find("\"ToolBar\"=dword:0000000a"), std::string::npos);

    CSettingsStore reread(file);
    EXPECT_EQ(reread.ValueNames(Key),
              (std::vector<std::wstring>{L"zeta", L"Alpha \"quoted\" \\ \u00e9\u4e2d", L"middle"}));
    auto zeta = reread.QueryValue(Key, L"Zeta");
    ASSERT_TRUE(zeta);
    EXPECT_EQ(zeta->type, ValueType::Binary);
    EXPECT_EQ(zeta->data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(reread.QueryValue(Key, L"alpha \"QUOTED\" \\ \u00e9\u4e2d")->data.size(), 0u);
    EXPECT_EQ(reread.QueryDword(L"software\\pellixftp\\layout", L"toolbar"), 0x0au);
    EXPECT_TRUE(reread.DeleteValue(Key, L"MIDDLE"));
    EXPECT_TRUE(reread.DeleteValue(Key, L"never there"));
    EXPECT_EQ(CSettingsStore(file).ValueNames(Key).size(), 2u);
    EXPECT_TRUE(reread.SetValue(Key, L"long", ValueType::Binary, AllBytes()));
    EXPECT_EQ(CSettingsStore(file).QueryValue(Key, L"long")->data, AllBytes());
}

TEST(SettingsStore, SeesChangesOfAnotherProcess) {
    CTempDir dir;
    const fs::path file = dir / "settings.reg";
    CSettingsStore mine(file);
    CSettingsStore theirs(file); // stands in for another process: its own copy
    ASSERT_TRUE(mine.SetValue(Key, L"a", ValueType::Binary, {1}));
    ASSERT_TRUE(theirs.SetValue(Key, L"b", ValueType::Binary, {2}));
    EXPECT_EQ(mine.ValueNames(Key), (std::vector<std::wstring>{L"a", L"b"}));
    ASSERT_TRUE(mine.SetValue(Key, L"c", ValueType::Binary, {3}));
    EXPECT_EQ(theirs.ValueNames(Key), (std::vector<std::wstring>{L"a", L"b", L"c"}));
}

TEST(SettingsStore, TwoProcessesSavingAtOnceKeepEverything) {
    CTempDir dir;
    const fs::path file = dir / "settings.reg";
    constexpr int PerProcess = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            CSettingsStore store(file);
            for (int i = 0; i < PerProcess; ++i) {
                store.SetValue(Key, L"p" + std::to_wstring(c) + L"-" + std::to_wstring(i),
                               ValueType::Binary, {static_cast<std::uint8_t>(i)});
            }
            ::_exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(CSettingsStore(file).ValueNames(Key).size(), 2u * PerProcess);
}

TEST(SettingsStore, AWriterKilledMidSaveLosesNothingSavedBefore) {
    CTempDir dir;
    const fs::path file = dir / "settings.reg";
    {
        CSettingsStore store(file);
        for (int i = 0; i < 20; ++i) {
            store.SetValue(Key, L"saved-" + std::to_wstring(i), ValueType::Binary,
                           std::vector<std::uint8_t>(1208, static_cast<std::uint8_t>(i)));
        }
    }
    for (int round = 0; round < 5; ++round) {
        pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            CSettingsStore store(file);
            for (int i = 0; i < 100000; ++i) {
                store.SetValue(Key,
                               L"busy-" + std::to_wstring(round) + L"-" + std::to_wstring(i % 50),
                               ValueType::Binary, std::vector<std::uint8_t>(1208, 7));
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20 + round * 15));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        testsupport::CRecordingMessages messages;
        CSettingsStore after(file);
        for (int i = 0; i < 20; ++i) {
            auto value = after.QueryValue(Key, L"saved-" + std::to_wstring(i));
            ASSERT_TRUE(value) << "round " << round << " lost saved-" << i;
            EXPECT_EQ(value->data, std::vector<std::uint8_t>(1208, static_cast<std::uint8_t>(i)));
        }
        EXPECT_TRUE(messages.Shown().empty()) << "the file was left unreadable";
    }
}

TEST(SettingsStore, AnUnreadableFileIsKeptAsideAndReportedOnce) {
    CTempDir dir;
    const fs::path file = dir / "settings.reg";
    std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\S]\n"
                           "\"x\"=hex:zz\n";
    testsupport::CRecordingMessages messages;
    CSettingsStore store(file);
    EXPECT_TRUE(store.ValueNames(L"S").empty());
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_NE(messages.Shown()[0].text.find(L"could not be read"), std::wstring::npos);
    EXPECT_EQ(messages.Shown()[0].flags, static_cast<unsigned>(MbIconWarning));
    int kept = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
        if (entry.path().filename().string().rfind("settings.reg.unreadable-", 0) == 0) {
            ++kept;
            EXPECT_NE(ReadFile(entry.path()).find("hex:zz"), std::string::npos);
        }
    }
    EXPECT_EQ(kept, 1);
    EXPECT_TRUE(store.SetValue(L"S", L"y", ValueType::Binary, {1}));
    EXPECT_EQ(store.ValueNames(L"S"), std::vector<std::wstring>{L"y"});
    EXPECT_EQ(messages.Shown().size(), 1u);
}

TEST(SettingsFile, ParsesWhatRegistryExportsLookLike) {
    struct Row {
        const char* label;
        std::string text;
        bool ok;
    } rows[] = {
        {"empty", "", true},
        {"headerOnly", "Windows Registry Editor Version 5.00\r\n", true},
        {"wrapped",
         "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n"
         "\"v\"=hex:01,02,\\\r\n  03\r\n; comment\r\n",
         true},
        {"noHeader", "[HKEY_CURRENT_USER\\K]\n", false},
        {"otherRoot", "Windows Registry Editor Version 5.00\n[HKEY_LOCAL_MACHINE\\K]\n", false},
        {"valueBeforeKey", "Windows Registry Editor Version 5.00\n\"v\"=hex:01\n", false},
        {"stringValue",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"v\"=\"s\"\n", false},
        {"shortDword",
         "Windows Registry Editor Version 5.00\n[HKEY_CURRENT_USER\\K]\n\"v\"=dword:1\n", false},
    };
    for (const Row& row : rows) {
        std::vector<SettingsKey> keys;
        std::string error;
        EXPECT_EQ(ParseSettingsFile(row.text, keys, error), row.ok) << row.label << ": " << error;
    }
    std::vector<SettingsKey> keys;
    std::string error;
    ASSERT_TRUE(ParseSettingsFile(rows[2].text, keys, error));
    ASSERT_EQ(keys.size(), 1u);
    EXPECT_EQ(keys[0].values[0].data, (std::vector<std::uint8_t>{1, 2, 3}));
    std::vector<SettingsKey> again;
    ASSERT_TRUE(ParseSettingsFile(FormatSettingsFile(keys), again, error));
    EXPECT_EQ(again[0].values[0].data, keys[0].values[0].data);
}
