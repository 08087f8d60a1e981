// The four jobs against real servers, through the dialog core as the
// progress dialog runs them.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/support/TransferFixture.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A tree with nested folders, an empty folder, and files at every level.
void MakeTree(const fs::path& root) {
    WriteBytes(root / "top/a.txt", RandomContent(3000, 1));
    WriteBytes(root / "top/sub/b.bin", RandomContent(70000, 2));
    WriteBytes(root / "top/sub/deep/c.bin", RandomContent(1, 3));
    fs::create_directories(root / "top/empty");
    WriteBytes(root / "single.bin", RandomContent(200000, 4));
}

void ExpectSameFiles(const fs::path& a, const fs::path& b) {
    for (const char* file : {"top/a.txt", "top/sub/b.bin", "top/sub/deep/c.bin", "single.bin"}) {
        ASSERT_TRUE(fs::exists(b / file)) << file;
        EXPECT_TRUE(ReadBytes(a / file) == ReadBytes(b / file)) << file << " differs";
    }
}

std::vector<std::wstring> Texts(ClientFixture& f) {
    return f.messages.Texts();
}

} // namespace

class TransferJobs : public TransferTest {};

TEST_P(TransferJobs, UploadsAndDownloadsATreeByteIdentically) {
    MakeTree(local.Path() / "src");
    fs::create_directories(server->Root() / "in");
    HandOver();
    auto list = NewList();
    AddLocal(*list, local / "src/top");
    AddLocal(*list, local / "src/single.bin");
    EXPECT_EQ(Run(std::move(list), L"/in", ModeUpload), platform::IdOk);
    EXPECT_EQ(window.workerResult, platform::IdOk);
    EXPECT_TRUE(Texts(f).empty()) << testing::PrintToString(Texts(f));
    ExpectSameFiles(local / "src", server->Root() / "in");
    EXPECT_FALSE(fs::exists(server->Root() / "in/top/empty")) << "empty folders are not made";
    EXPECT_EQ(window.barPosition, window.barRange);
    EXPECT_EQ(window.barRange, 3000u + 70000 + 1 + 200000);
    EXPECT_EQ(window.countText, L"Uploading 266 Kb of 266 Kb");

    fs::create_directories(local / "dst");
    list = NewList();
    AddRemote(*list, connection, L"/in", {L"top", L"single.bin"});
    window.Reset();
    EXPECT_EQ(Run(std::move(list), (local / "dst").wstring(), ModeDownload), platform::IdOk);
    EXPECT_TRUE(Texts(f).empty()) << testing::PrintToString(Texts(f));
    ExpectSameFiles(local / "src", local / "dst");
    EXPECT_EQ(window.countText, L"Downloading 266 Kb of 266 Kb");
    for (const auto& entry : fs::recursive_directory_iterator(local / "dst")) {
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
            << "a part file was left behind: " << entry.path();
    }
}

TEST_P(TransferJobs, AFolderWhoseFilesLieOnlyInASubfolderStopsTheUpload) {
    WriteBytes(local / "only/sub/x.txt", "x");
    WriteBytes(local / "later.txt", "later");
    auto list = NewList();
    AddLocal(*list, local / "only");
    AddLocal(*list, local / "later.txt");
    EXPECT_EQ(Run(std::move(list), L"/", ModeUpload), platform::IdOk);
    // Only the file's own folder is made; its parent is never made, so the
    // transfer is refused by the server and the job stops.
    EXPECT_FALSE(fs::exists(server->Root() / "only"));
    EXPECT_TRUE(fs::exists(server->Root() / "later.txt"))
        << "later.txt comes first in the list (breadth first)";
    ASSERT_EQ(Texts(f).size(), 1u) << testing::PrintToString(Texts(f));
    EXPECT_EQ(Texts(f)[0][0], L'5') << "the server's refusal";
}

TEST_P(TransferJobs, DeletesATreeContentsFirst) {
    WriteBytes(server->Root() / "A/F", "f");
    WriteBytes(server->Root() / "A/B/G", "g");
    WriteBytes(server->Root() / "keep", "k");
    HandOver();
    auto list = NewList();
    AddRemote(*list, connection, L"/", {L"A"});
    EXPECT_EQ(Run(std::move(list), L"/", ModeDelete), platform::IdOk);
    EXPECT_TRUE(Texts(f).empty()) << testing::PrintToString(Texts(f));
    EXPECT_FALSE(fs::exists(server->Root() / "A"));
    EXPECT_TRUE(fs::exists(server->Root() / "keep"));
    EXPECT_EQ(window.countText, L"Deleting 4 of 4");
    EXPECT_EQ(window.barPosition, 3u);
    EXPECT_EQ(window.pathTexts.back(), L"/A");
}

TEST_P(TransferJobs, MovesItemsIntoAnotherFolder) {
    WriteBytes(server->Root() / "m/file.txt", "moved");
    WriteBytes(server->Root() / "dir/inner.txt", "inner");
    HandOver();
    auto list = NewList();
    AddRemote(*list, connection, L"/", {L"dir"});
    AddRemote(*list, connection, L"/m", {L"file.txt"});
    EXPECT_EQ(Run(std::move(list), L"/target", ModeMove), platform::IdOk);
    EXPECT_TRUE(Texts(f).empty()) << testing::PrintToString(Texts(f));
    EXPECT_EQ(ReadBytes(server->Root() / "target/file.txt"), "moved");
    EXPECT_EQ(ReadBytes(server->Root() / "target/dir/inner.txt"), "inner");
    EXPECT_FALSE(fs::exists(server->Root() / "dir"));
    EXPECT_EQ(window.countText, L"Moving 2 of 2");
}

TEST_P(TransferJobs, ReplaceQuestionsForTopLevelClashesOnly) {
    WriteBytes(server->Root() / "in/Same.txt", "old server copy");
    WriteBytes(server->Root() / "in/dir/inner.txt", "old inner");
    HandOver();
    WriteBytes(local / "up/same.TXT", "new");
    WriteBytes(local / "up/dir/inner.txt", "new inner");
    WriteBytes(local / "up/other.txt", "other");
    auto makeList = [&] {
        auto list = NewList();
        AddLocal(*list, local / "up/same.TXT");
        AddLocal(*list, local / "up/dir");
        AddLocal(*list, local / "up/other.txt");
        return list;
    };
    // Cancel on the first question refuses the job; the second is still asked.
    window.answers = {platform::IdCancel, platform::IdOk};
    EXPECT_EQ(Run(makeList(), L"/in", ModeUpload), platform::IdCancel);
    ASSERT_EQ(window.questions.size(), 2u);
    EXPECT_EQ(ReadBytes(server->Root() / "in/Same.txt"), "old server copy");
    EXPECT_FALSE(fs::exists(server->Root() / "in/other.txt")) << "nothing is sent";
    std::set<std::wstring> asked;
    for (const auto& q : window.questions) {
        asked.insert(q.name);
        EXPECT_EQ(q.isDirectory, q.name == L"dir");
    }
    EXPECT_EQ(asked, (std::set<std::wstring>{L"Same.txt", L"dir"}));
    for (const auto& q : window.questions) {
        if (q.name == L"Same.txt") {
            EXPECT_EQ(q.serverText.rfind(L"15 B (15 bytes)\r\n", 0), 0u)
                << testing::PrintToString(q.serverText);
            EXPECT_EQ(q.localText.rfind(L"3 B (3 bytes)\r\n", 0), 0u)
                << testing::PrintToString(q.localText);
        }
    }

    // OK to both: everything goes, inner files without a question.
    window.Reset();
    EXPECT_EQ(Run(makeList(), L"/in", ModeUpload), platform::IdOk);
    EXPECT_EQ(window.questions.size(), 2u);
    // The names clash only without regard to case: the server keeps both.
    EXPECT_EQ(ReadBytes(server->Root() / "in/same.TXT"), "new");
    EXPECT_EQ(ReadBytes(server->Root() / "in/Same.txt"), "old server copy");
    EXPECT_EQ(ReadBytes(server->Root() / "in/dir/inner.txt"), "new inner");

    // A download asks about the local copy, whose text has no space before "(".
    WriteBytes(local / "down/same.txt", "local!");
    window.Reset();
    window.answers = {platform::IdCancel};
    auto list = NewList();
    AddRemote(*list, connection, L"/in", {L"Same.txt"});
    EXPECT_EQ(Run(std::move(list), (local / "down").wstring(), ModeDownload), platform::IdCancel);
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].name, L"Same.txt");
    EXPECT_EQ(window.questions[0].localText.rfind(L"6 B(6 bytes)\r\n", 0), 0u)
        << testing::PrintToString(window.questions[0].localText);
    EXPECT_EQ(ReadBytes(local / "down/same.txt"), "local!");
}

TEST_P(TransferJobs, CancelInTheMiddleOfAFileKeepsTheOldLocalFile) {
    const std::string big = RandomContent(48 * 1024 * 1024, 5);
    WriteBytes(server->Root() / "big.bin", big);
    HandOver();
    WriteBytes(local / "dst/big.bin", "the user's old file");
    auto list = NewList();
    AddRemote(*list, connection, L"/", {L"big.bin"});
    window.pressCancelWhen = [](CHeadlessTransferWindow& w) { return !w.countText.empty(); };
    EXPECT_EQ(Run(std::move(list), (local / "dst").wstring(), ModeDownload, 4096),
              platform::IdCancel);
    EXPECT_EQ(ReadBytes(local / "dst/big.bin"), "the user's old file");
    auto texts = Texts(f);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), L"Failed to download file:\n" + (local / "dst/big.bin").wstring());
    EXPECT_EQ(std::distance(fs::directory_iterator(local / "dst"), fs::directory_iterator()), 1)
        << "the part file is removed";

    // The same for an upload: the failure message names the local file.
    f.messages.Clear();
    WriteBytes(local / "up/big.bin", big);
    list = NewList();
    AddLocal(*list, local / "up/big.bin");
    window.Reset();
    window.pressCancelWhen = [](CHeadlessTransferWindow& w) { return !w.countText.empty(); };
    EXPECT_EQ(Run(std::move(list), L"/up", ModeUpload, 4096), platform::IdCancel);
    texts = Texts(f);
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.back(), L"Failed to upload file:\n" + (local / "up/big.bin").wstring());
}

TEST_P(TransferJobs, CancelBeforeTheStartSendsNothingForDeleteAndMove) {
    WriteBytes(server->Root() / "x", "x");
    HandOver();
    for (TransferMode mode : {ModeDelete, ModeMove}) {
        auto list = NewList();
        AddRemote(*list, connection, L"/", {L"x"});
        CTransferDialogCore core(connection, std::move(list), L"/elsewhere", mode, window);
        core.RequestCancel();
        ASSERT_TRUE(core.Start());
        core.JoinWorker();
        core.OnWake();
        EXPECT_EQ(window.workerResult, 0) << "nothing is posted";
        EXPECT_TRUE(fs::exists(server->Root() / "x"));
    }
}

TEST_P(TransferJobs, UnreadableLocalFileLeavesTheServersCopy) {
    WriteBytes(server->Root() / "doc.txt", "server copy");
    HandOver();
    WriteBytes(local / "doc.txt", "local");
    auto list = NewList();
    AddLocal(*list, local / "doc.txt");
    fs::remove(local / "doc.txt"); // gone between the drop and the job
    EXPECT_EQ(Run(std::move(list), L"/", ModeUpload), platform::IdOk);
    EXPECT_EQ(ReadBytes(server->Root() / "doc.txt"), "server copy");
    ASSERT_EQ(Texts(f).size(), 1u);
    EXPECT_EQ(Texts(f)[0],
              L"Error code: 2\nNo such file or directory\n" + (local / "doc.txt").wstring());
}

TEST_P(TransferJobs, UnwritableLocalFolderStopsTheDownload) {
    WriteBytes(server->Root() / "doc.txt", "server copy");
    HandOver();
    auto list = NewList();
    AddRemote(*list, connection, L"/", {L"doc.txt"});
    // Even root cannot create files here.
    EXPECT_EQ(Run(std::move(list), L"/proc", ModeDownload), platform::IdOk);
    ASSERT_EQ(Texts(f).size(), 1u);
    EXPECT_EQ(Texts(f)[0].rfind(L"Error code: ", 0), 0u);
    EXPECT_NE(Texts(f)[0].find(L"\n/proc/doc.txt"), std::wstring::npos);
}

PELLIX_FOR_EACH_SERVER(TransferJobs);

TEST(TransferTexts, CountsTitlesAndFolders) {
    EXPECT_EQ(CountText(ModeUpload, 3000, 3000), L"Uploading 2 Kb of 2 Kb");
    EXPECT_EQ(CountText(ModeDownload, 5368709120ULL, 5368709120ULL),
              L"Downloading 5242880 Kb of 5242880 Kb");
    EXPECT_EQ(CountText(ModeDelete, 0, 5), L"Deleting 1 of 5");
    EXPECT_EQ(CountText(ModeMove, 4, 5), L"Moving 5 of 5");
    EXPECT_EQ(CountText(static_cast<TransferMode>(780), 1, 1), L"");
    EXPECT_EQ(TitleText(ModeUpload), L"Uploading...");
    EXPECT_EQ(TitleText(ModeDownload), L"Downloading...");
    EXPECT_EQ(TitleText(ModeDelete), L"Deleting...");
    EXPECT_EQ(TitleText(ModeMove), L"Moving...");
    EXPECT_EQ(FolderOfPath(L"/pub/a/file"), L"/pub/a/");
    EXPECT_EQ(FolderOfPath(L"C:\\Temp\\a\\file.txt"), L"C:\\Temp\\a");
    EXPECT_EQ(FolderOfPath(L"file"), L"");
    EXPECT_EQ(FolderOfPath(L"/" + std::wstring(300, L'x') + L"/f"),
              L"/" + std::wstring(300, L'x') + L"/");
    EXPECT_EQ(ReplaceText(5368709120LL, 0).rfind(L"5120.00 Mb (5368709120 bytes)\r\n", 0), 0u);
    EXPECT_EQ(ReplaceText(6, 0, false).rfind(L"6 B(6 bytes)\r\n", 0), 0u);
}
