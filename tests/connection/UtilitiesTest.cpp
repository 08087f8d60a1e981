#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

#include "connection/ListingEntry.h"
#include "connection/Utilities.h"
#include "platform/SettingsStore.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/TempDir.h"

using testsupport::CTempDir;

TEST(Utilities, Joins) {
    struct Row {
        std::wstring a, b, joined;
    } rows[] = {{L"/", L"pub", L"/pub"},    {L"/pub/", L"x", L"/pub/x"},
                {L"/pub", L"x", L"/pub/x"}, {L"c:\\dir\\", L"x", L"c:\\dir\\x"},
                {L"", L"x", L"/x"},         {L"/a", L"", L"/a/"}};
    for (const Row& row : rows) {
        EXPECT_EQ(JoinRemotePath(row.a, row.b), row.joined);
        EXPECT_EQ(JoinLocalPath(row.a, row.b), row.joined);
    }
}

TEST(Utilities, SizeTexts) {
    struct Row {
        std::int64_t size;
        std::wstring text;
    } rows[] = {{0, L""},
                {UnknownSize, L""},
                {1, L"1 B"},
                {1023, L"1023 B"},
                {1024, L"1.00 Kb"},
                {1048575, L"1024.00 Kb"},
                {1048576, L"1.00 Mb"},
                {3221225472LL, L"3072.00 Mb"},
                {4294967295LL, L"4096.00 Mb"},
                {5368709120LL, L"5120.00 Mb"}};
    for (const Row& row : rows) {
        EXPECT_EQ(FormatSizeText(row.size), row.text) << row.size;
    }
}

TEST(Utilities, TimeTexts) {
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(FormatTimeText(0), L"01/01/70 00:00:00");
    EXPECT_EQ(FormatTimeText(1798761599), L"12/31/26 23:59:59");
    platform::FILETIME f = platform::FileTimeFromUnix(1798761599);
    EXPECT_EQ(TimeFromFileTime(f), 1798761599);
    EXPECT_EQ(platform::UnixFromFileTime(f), 1798761599);
    EXPECT_EQ(TimeFromFileTime(platform::FILETIME{}), 0) << "1601 is before 1900";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    EXPECT_EQ(FormatTimeText(1798761599), L"01/01/27 00:59:59");
    EXPECT_EQ(TimeFromFileTime(f), 1798761599);
    unsetenv("TZ");
    tzset();
}

TEST(Utilities, ListingEntriesFromStatuses) {
    nsFTP::CFTPFileStatus link;
    link.name = L"www -> /var/www";
    link.attributes = L"lrwxrwxrwx";
    link.tryCwd = link.tryRetr = true;
    link.size = 15;
    link.path = L"/home";
    link.owner = L"root";
    link.modificationTime = 1000000000;
    ListingEntry e = MakeListingEntry(link);
    EXPECT_EQ(e.name, L"www");
    EXPECT_EQ(e.listedName, L"www -> /var/www");
    EXPECT_EQ(e.isLink, 1);
    EXPECT_EQ(e.isDirectory, 1);
    EXPECT_EQ(e.directory, L"/home");
    EXPECT_EQ(e.owner, L"root");
    EXPECT_EQ(platform::UnixFromFileTime(e.modified), 1000000000);

    nsFTP::CFTPFileStatus noSize;
    noSize.name = L"tty";
    noSize.size = -1;
    EXPECT_EQ(MakeListingEntry(noSize).size, UnknownSize);
    EXPECT_EQ(MakeListingEntry(noSize).modified, platform::FILETIME{});

    auto entry = [](std::int32_t dir, const wchar_t* name) {
        ListingEntry x;
        x.isDirectory = dir;
        x.name = name;
        return x;
    };
    std::vector<ListingEntry> v = {entry(1, L"b"), entry(0, L"A"), entry(1, L"a"), entry(0, L"_z"),
                                   entry(1, L"Zed")};
    std::sort(v.begin(), v.end(), CompareListingEntries);
    std::vector<std::wstring> names;
    for (const auto& x : v) {
        names.push_back(x.name);
    }
    EXPECT_EQ(names, (std::vector<std::wstring>{L"a", L"b", L"Zed", L"_z", L"A"}));
}

TEST(Utilities, TempDirectorySetting) {
    CTempDir dir;
    platform::CSettingsStore store(dir / "settings.reg");
    platform::SetSettingsStore(&store);
    setenv("TMPDIR", "/var/tmp", 1);
    EXPECT_EQ(GetTempDirectory(), L"/var/tmp/") << "nothing set: the system's, with a separator";

    auto bytes = EncodeTempDirSetting(L"/data/t\u00e9mp");
    EXPECT_EQ(bytes.size(), 2u * 10 + 1);
    EXPECT_EQ(bytes.back(), 0);
    ASSERT_TRUE(WriteTempDirSetting(bytes.data(), bytes.size()));
    EXPECT_EQ(GetTempDirectory(), L"/data/t\u00e9mp");

    auto empty = EncodeTempDirSetting(L"");
    ASSERT_EQ(empty.size(), 1u);
    ASSERT_TRUE(WriteTempDirSetting(empty.data(), empty.size()));
    EXPECT_EQ(GetTempDirectory(), L"/var/tmp/");

    std::vector<std::uint8_t> full(8192);
    for (std::size_t i = 0; i < full.size(); i += 2) {
        full[i] = 'a';
    }
    ASSERT_TRUE(WriteTempDirSetting(full.data(), full.size()));
    EXPECT_EQ(GetTempDirectory(), std::wstring(4096, L'a')) << "a full buffer ends at its end";
    full.push_back(0);
    ASSERT_TRUE(WriteTempDirSetting(full.data(), full.size()));
    EXPECT_EQ(GetTempDirectory(), L"/var/tmp/") << "a value over the limit is not read";
    unsetenv("TMPDIR");
    platform::SetSettingsStore(nullptr);
}

TEST(Utilities, LastErrorBoxAndShellOpen) {
    testsupport::CRecordingMessages messages;
    errno = ENOENT;
    ShowLastErrorBox(L"Cannot open /x");
    ASSERT_EQ(messages.Texts().size(), 1u);
    EXPECT_EQ(messages.Texts()[0], L"Error code: 2\nNo such file or directory\nCannot open /x");

    // A stand-in desktop handler records what it was asked to open.
    CTempDir dir;
    const auto record = dir / "opened.txt";
    {
        std::ofstream script(dir / "xdg-open");
        script << "#!/bin/sh\nprintf '%s' \"$1\" > '" << record.string() << "'\n";
    }
    std::filesystem::permissions(dir / "xdg-open", std::filesystem::perms::owner_all);
    std::string oldPath = std::getenv("PATH");
    setenv("PATH", (dir.Path().string() + ":" + oldPath).c_str(), 1);
    OpenWithShell(L"/tmp/some file.txt");
    setenv("PATH", oldPath.c_str(), 1);
    std::string opened;
    for (int i = 0; i < 200 && opened.empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        std::ifstream in(record);
        opened.assign(std::istreambuf_iterator<char>(in), {});
    }
    EXPECT_EQ(opened, "/tmp/some file.txt");
}
