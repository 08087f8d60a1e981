// Listing lines -> entries, one table per format, with a fixed "now".

#include <ctime>
#include <gtest/gtest.h>

#include "Common/ListingParser.h"
#include "Common/RCIPtr.h"

using namespace nsFTP;

namespace {

constexpr int ThisYear = 2026;

std::int64_t Local(int year, int month, int day, int hour = 0, int minute = 0) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

struct LineCase {
    const char* label;
    std::wstring line;
    bool accepted;
    std::wstring name;
    bool tryCwd = false;
    bool tryRetr = false;
    int sizeKnown = 0;
    std::int64_t size = 0;
    std::int64_t time = 0;
    std::wstring owner = L"";
    std::wstring group = L"";
};

void PrintTo(const LineCase& c, std::ostream* out) {
    *out << c.label;
}

LineCase Rejected(const char* label, std::wstring line) {
    return {label, std::move(line), false, L""};
}

} // namespace

class ListLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(ListLine, GivesTheExpectedEntry) {
    const LineCase& c = GetParam();
    CFTPFileStatus entry;
    entry.name = L"left over from an earlier line";
    ASSERT_EQ(ParseListLine(c.line, entry, ListingContext{ThisYear}), c.accepted);
    if (!c.accepted) {
        return;
    }
    EXPECT_EQ(entry.name, c.name);
    EXPECT_EQ(entry.tryCwd, c.tryCwd);
    EXPECT_EQ(entry.tryRetr, c.tryRetr);
    EXPECT_EQ(entry.sizeKnown, c.sizeKnown);
    EXPECT_EQ(entry.size, c.size);
    EXPECT_EQ(entry.modificationTime, c.time);
    EXPECT_EQ(entry.owner, c.owner);
    EXPECT_EQ(entry.group, c.group);
}

INSTANTIATE_TEST_SUITE_P(
    Unix, ListLine,
    ::testing::Values(
        LineCase{"directoryWithGroup",
                 L"drwxr-xr-x   2 owner    group        4096 Jan  1 12:00 docs", true, L"docs",
                 true, false, 1, 4096, Local(ThisYear, 1, 1, 12, 0), L"owner", L"group"},
        LineCase{"directoryWithoutGroup", L"drwxr-xr-x   2 owner        4096 Jan  1 12:00 docs",
                 true, L"docs", true, false, 1, 4096, Local(ThisYear, 1, 1, 12, 0), L"owner"},
        LineCase{"folderWordSkipsOwner", L"-rw-r--r--   folder        2 May 10  1996 readme", true,
                 L"readme", false, true, 1, 2, Local(1996, 5, 10)},
        LineCase{"link",
                 L"lrwxrwxrwx   1 root     root           10 Dec 11 15:35 link -> a file.txt", true,
                 L"link -> a file.txt", true, true, 1, 10, Local(ThisYear, 12, 11, 15, 35), L"root",
                 L"root"},
        LineCase{"twoSpacesBeforeName", L"-rw-r--r--   1 u g 5 Feb  3 09:07  spaced", true,
                 L" spaced", false, true, 1, 5, Local(ThisYear, 2, 3, 9, 7), L"u", L"g"},
        LineCase{"laterInYearStillThisYear", L"-rw-r--r-- 1 u g 1 Dec 31 23:59 late", true, L"late",
                 false, true, 1, 1, Local(ThisYear, 12, 31, 23, 59), L"u", L"g"},
        LineCase{"oneDigitHour", L"-rw-r--r-- 1 u g 1 Mar  4 5:06 early", true, L"early", false,
                 true, 1, 1, Local(ThisYear, 3, 4, 5, 6), L"u", L"g"},
        LineCase{"sizeAbove4GiB", L"-rw-r--r-- 1 u g 5368709120 Mar  4  2010 huge.iso", true,
                 L"huge.iso", false, true, 1, 5368709120LL, Local(2010, 3, 4), L"u", L"g"},
        LineCase{"noNumericSize", L"crw-rw-rw- 1 root tty Jan 1 2020 tty", true, L"tty", false,
                 false, 1, -1, Local(2020, 1, 1), L"root", L"tty"},
        LineCase{"isoDateAndTime", L"-rw-r--r-- 1 user group 1234 2012-02-07 00:31 notes.txt", true,
                 L"notes.txt", false, true, 1, 1234, Local(2012, 2, 7, 0, 31), L"user", L"group"},
        LineCase{"pyftpdlib", L"-rw-r--r--   1 root     root     3000000000 Dec 11 15:35 big.bin",
                 true, L"big.bin", false, true, 1, 3000000000LL, Local(ThisYear, 12, 11, 15, 35),
                 L"root", L"root"},
        LineCase{"pyftpdlibOldYear",
                 L"-rw-r--r--   1 root     root            0 Mar 04  2010 old.txt", true,
                 L"old.txt", false, true, 1, 0, Local(2010, 3, 4), L"root", L"root"},
        LineCase{"vsftpdNumericOwnerAndGroup",
                 L"-rw-r--r--    1 999      0               3 Dec 11 15:35 a file.txt", true,
                 L"a file.txt", false, true, 1, 3, Local(ThisYear, 12, 11, 15, 35), L"999"},
        LineCase{"vsftpdDirectory", L"drwxr-xr-x    2 999      0            4096 Dec 11 15:35 sub",
                 true, L"sub", true, false, 1, 4096, Local(ThisYear, 12, 11, 15, 35), L"999"},
        Rejected("totalLine", L"total 24"),
        Rejected("endsBeforeName", L"-rw-r--r-- 1 u g 5 Feb  3 09:07"),
        Rejected("shortYearField", L"-rw-r--r-- 1 u g 5 Feb  3 99 name"),
        Rejected("badMonthDay", L"-rw-r--r-- 1 u g 5 Feb 45 10:00 name"),
        Rejected("singleCharacter", L"d")),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Dos, ListLine,
    ::testing::Values(
        LineCase{"directoryMark", L"02-05-13  09:37AM       <DIR>          folder", true, L"folder",
                 true, false, 0, 0, Local(2013, 2, 5, 9, 37)},
        LineCase{"file", L"02-05-13  09:37PM                 1234 file name.txt", true,
                 L"file name.txt", false, true, 1, 1234, Local(2013, 2, 5, 21, 37)},
        LineCase{"twelveAm", L"01-01-99  12:05AM 1 a", true, L"a", false, true, 1, 1,
                 Local(1999, 1, 1, 0, 5)},
        LineCase{"twelvePm", L"01-01-99  12:05PM 1 a", true, L"a", false, true, 1, 1,
                 Local(1999, 1, 1, 12, 5)},
        LineCase{"onePm", L"01-01-00  01:00PM 1 a", true, L"a", false, true, 1, 1,
                 Local(2000, 1, 1, 13, 0)},
        LineCase{"twentyFourHourDirectory", L"09-13-10  13:08       <DIR>          Program Files",
                 true, L"Program Files", true, false, 0, 0, Local(2010, 9, 13, 13, 8)},
        LineCase{"yearFirstGroupedSize", L"2002-09-02  19:06             9,730 name", true, L"name",
                 false, true, 1, 9730, Local(2002, 9, 2, 19, 6)},
        LineCase{"fourDigitYearLast", L"09-02-2002  07:06PM   1,234,567 big", true, L"big", false,
                 true, 1, 1234567, Local(2002, 9, 2, 19, 6)},
        LineCase{"threeDigitYear", L"09-02-102  07:06PM 5 y", true, L"y", false, true, 1, 5,
                 Local(2002, 9, 2, 19, 6)},
        Rejected("lowerCaseAm", L"02-05-13  09:37am       <DIR>          folder"),
        Rejected("noName", L"02-05-13  09:37AM       <DIR>"), Rejected("noTime", L"02-05-13")),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Vms, ListLine,
    ::testing::Values(
        LineCase{
            "directory",
            L"DOCS.DIR;1          1/3     29-JAN-1996 03:33:12  [ANONYMOU,ANONYMOUS] (RWED,RWED,,)",
            true, L"DOCS", true, false, 0, 0, Local(1996, 1, 29, 3, 33)},
        LineCase{"file", L"CII-MANUAL.TEX;1  213/216  29-JAN-1996 03:33:12  [ANONYMOU,ANONYMOUS]",
                 true, L"CII-MANUAL.TEX", false, true, 0, 0, Local(1996, 1, 29, 3, 33)},
        LineCase{"lowerCaseDirSuffixIsAFile", L"notes.dir;2  1/3  01-FEB-2001 10:00:00 [X]", true,
                 L"notes.dir", false, true, 0, 0, Local(2001, 2, 1, 10, 0)},
        Rejected("badMonth", L"A.TXT;1  1/3  01-FOO-2001 10:00:00 [X]"),
        Rejected("endsEarly", L"A.TXT;1  1/3"),
        Rejected("lowerCaseGoesToUnixReader", L"dir.dir;1  1/3  01-FEB-2001 10:00:00 [X]")),
    [](const auto& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Eplf, ListLine,
    ::testing::Values(LineCase{"file", L"+i8388621.48594,m825718503,r,s280,\tdjb.html", true,
                               L"djb.html", false, true, 1, 280, 825718503},
                      LineCase{"directory", L"+i8388621.29609,m824255902,/,\tdev", true, L"dev",
                               true, false, 0, 0, 824255902},
                      LineCase{"factBeforeTabIgnored", L"+m1,s99\tname", true, L"name", false,
                               false, 0, 0, 1},
                      Rejected("noTab", L"+i1,r,s2,name")),
    [](const auto& info) { return std::string(info.param.label); });

TEST(ListingParser, EplfIdIsKept) {
    CFTPFileStatus entry;
    ASSERT_TRUE(ParseListLine(L"+i8388621.48594,m825718503,r,s280,\tdjb.html", entry, {ThisYear}));
    EXPECT_EQ(entry.idKnown, 1);
    EXPECT_EQ(entry.id, L"8388621.48594");
}

TEST(ListingParser, UnixFieldsKeptAsText) {
    CFTPFileStatus entry;
    ASSERT_TRUE(
        ParseListLine(L"drwxr-x---  12 owner group 4096 Jan  1 12:00 d", entry, {ThisYear}));
    EXPECT_EQ(entry.attributes, L"drwxr-x---");
    EXPECT_EQ(entry.linkCount, L"12");
}

TEST(ListingParser, MonthsAndDecimalsAndYears) {
    const wchar_t* months[] = {L"Jan", L"FEB", L"mar", L"Apr", L"may", L"Jun",
                               L"jul", L"AUG", L"Sep", L"oct", L"Nov", L"dec"};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(LookupMonth(months[i]), i + 1) << i;
    }
    EXPECT_EQ(LookupMonth(L"xyz"), -1);
    std::int64_t value = 0;
    EXPECT_TRUE(ParseDecimal(L"0042", value));
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(ParseDecimal(L"42a", value));
    EXPECT_EQ(value, 42);
    EXPECT_FALSE(ParseDecimal(L"", value));
    struct {
        std::int64_t seconds;
        int year;
    } years[] = {{0, 1970},          {-1, 1969},         {951782400, 2000},   {1767225599, 2025},
                 {1767225600, 2026}, {4102444800, 2100}, {-2208988800, 1900}, {253402300799, 9999}};
    for (const auto& y : years) {
        EXPECT_EQ(CurrentYearUtc(y.seconds), y.year) << y.seconds;
    }
}

TEST(RCIPtr, SharesOneObjectAndDeletesItWithTheLastReference) {
    struct Tracked {
        bool* deleted;
        ~Tracked() { *deleted = true; }
    };
    bool deleted = false;
    {
        nsSP::RCIPtr<Tracked> first(new Tracked{&deleted});
        EXPECT_EQ(first.ReferenceCount(), 1);
        {
            nsSP::RCIPtr<Tracked> second = first;
            nsSP::RCIPtr<Tracked> third;
            third = second;
            EXPECT_EQ(first.ReferenceCount(), 3);
            EXPECT_EQ(third.get(), first.get());
        }
        EXPECT_EQ(first.ReferenceCount(), 1);
        EXPECT_FALSE(deleted);
    }
    EXPECT_TRUE(deleted);
}
