#include <gtest/gtest.h>
#include <set>

#include "tests/support/TransferFixture.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::vector<std::wstring> Targets(const TransferList& list) {
    std::vector<std::wstring> targets;
    for (const TransferItem& item : list.Items()) {
        targets.push_back(item.targetPath);
    }
    return targets;
}

} // namespace

TEST(TransferList, CountersAndCursor) {
    TransferList list(nullptr);
    list.AddItem(100, 1, L"dir", L"/r/dir", {});
    list.AddItem(5, 0, L"a", L"/r/a", {});
    list.AddItem(UnknownSize, 0, L"b", L"/r/b", {});
    ASSERT_EQ(list.Items().size(), 3u);
    EXPECT_EQ(list.Items()[0].fileIndex, 0);
    EXPECT_EQ(list.Items()[1].fileIndex, 0);
    EXPECT_EQ(list.Items()[2].fileIndex, 1);
    EXPECT_EQ(list.Items()[2].itemIndex, 2);
    EXPECT_EQ(list.fileCount, 2);
    EXPECT_EQ(list.itemCount, 3);
    EXPECT_EQ(list.totalSize, 105) << "directory sizes count, unknown sizes do not";
    EXPECT_EQ(list.FirstItem(true)->targetPath, L"a");
    EXPECT_EQ(list.NextItem(true)->targetPath, L"b");
    EXPECT_EQ(list.NextItem(true), nullptr);
    EXPECT_EQ(list.FirstItem(false)->targetPath, L"dir");
    list.ExpandRemoteDirectories(); // no connection: nothing happens
    EXPECT_EQ(list.Items().size(), 3u);
    list.ClearItems();
    EXPECT_EQ(list.FirstItem(false), nullptr);
    EXPECT_EQ(list.totalSize, 0);
    EXPECT_EQ(list.fileCount + list.itemCount, 0);
}

TEST(TransferList, SafeNames) {
    for (const wchar_t* name : {L"", L".", L"..", L"a/b", L"../evil", L"/abs"}) {
        EXPECT_FALSE(IsSafeLocalName(name)) << testing::PrintToString(std::wstring(name));
    }
    EXPECT_FALSE(IsSafeLocalName(std::wstring(L"a\0b", 3)));
    for (const wchar_t* name : {L"a", L"...", L".hidden", L"with space", L"back\\slash"}) {
        EXPECT_TRUE(IsSafeLocalName(name));
    }
    EXPECT_TRUE(IsSafeRelativePath(L"A/B/G"));
    EXPECT_FALSE(IsSafeRelativePath(L"A/../G"));
    EXPECT_FALSE(IsSafeRelativePath(L"A//G"));
}

TEST(TransferList, LocalExpansionIsBreadthFirst) {
    CTempDir dir;
    WriteBytes(dir / "A/F", "f");
    WriteBytes(dir / "A/B/G", "gg");
    fs::create_directories(dir / "A/E");
    WriteBytes(dir / "loose", "12345");
    TransferList list(nullptr);
    AddLocal(list, dir / "A");
    AddLocal(list, dir / "loose");
    list.ExpandLocalDirectories();
    auto targets = Targets(list);
    ASSERT_EQ(targets.size(), 6u);
    EXPECT_EQ(targets[0], L"A");
    EXPECT_EQ(targets[1], L"loose");
    std::set<std::wstring> second(targets.begin() + 2, targets.begin() + 5);
    EXPECT_EQ(second, (std::set<std::wstring>{L"A/F", L"A/B", L"A/E"}));
    EXPECT_EQ(targets[5], L"A/B/G");
    EXPECT_EQ(list.Items()[5].sourcePath, (dir / "A/B/G").wstring());
    EXPECT_EQ(list.totalSize, 8);
    EXPECT_EQ(list.Items()[0].isDirectory, LocalDirectoryAttribute);
    list.ExpandLocalDirectories();
    EXPECT_EQ(list.Items().size(), 6u) << "a second expansion changes nothing";
}

class RemoteExpansion : public TransferTest {};

TEST_P(RemoteExpansion, BreadthFirstWithLinksCutAndFailuresLeftUnexpanded) {
    WriteBytes(server->Root() / "A/F", "f");
    WriteBytes(server->Root() / "A/B/G", "gg");
    fs::create_symlink("B", server->Root() / "A/L");
    fs::create_directories(server->Root() / "dots");
    HandOver();
    auto list = NewList();
    AddRemote(*list, connection, L"/", {L"A", L"dots"});
    list->AddItem(0, 1, L"missing", L"/missing", {});
    list->ExpandRemoteDirectories();
    auto targets = Targets(*list);
    ASSERT_EQ(targets.size(), 8u) << testing::PrintToString(targets);
    EXPECT_EQ((std::vector<std::wstring>(targets.begin(), targets.begin() + 3)),
              (std::vector<std::wstring>{L"A", L"dots", L"missing"}));
    std::set<std::wstring> second(targets.begin() + 3, targets.begin() + 6);
    EXPECT_EQ(second, (std::set<std::wstring>{L"A/F", L"A/B", L"A/L"}));
    // A link is taken for a folder and listed through: A/L/G is G again.
    EXPECT_EQ((std::set<std::wstring>(targets.begin() + 6, targets.end())),
              (std::set<std::wstring>{L"A/B/G", L"A/L/G"}));
    for (const TransferItem& item : list->Items()) {
        EXPECT_EQ(item.sourcePath, L"/" + item.targetPath);
    }
    EXPECT_EQ(list->Items()[1].expanded, 1) << "an empty folder is expanded";
    // vsftpd lists a missing folder as an empty one; pyftpdlib refuses it.
    if (GetParam() == ServerKind::Pyftpdlib) {
        EXPECT_EQ(list->Items()[2].expanded, 0) << "a folder that cannot be listed stays as it is";
    }
    EXPECT_TRUE(list->rejectedNames.empty());
}

PELLIX_FOR_EACH_SERVER(RemoteExpansion);
