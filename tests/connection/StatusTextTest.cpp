#include <gtest/gtest.h>
#include <set>
#include <thread>

#include "connection/StatusText.h"
#include "tests/support/RecordingUi.h"

using testsupport::CRecordingStatusBar;

TEST(StatusText, TextsBeforeTheStatusBarExistAreOnlyStored) {
    SetStatusBarWindow(nullptr);
    PostStatusText(0, L"220 early");
    EXPECT_EQ(StatusSlotText(0), L"220 early");
    CRecordingStatusBar bar;
    SetStatusBarWindow(&bar);
    PostStatusText(0, L"230 later");
    PostStatusText(1, L"Directories: 3");
    PostStatusText(1, L"");
    PostStatusText(10, L"ignored");
    PostStatusText(-1, L"ignored");
    SetStatusBarWindow(nullptr);
    auto texts = bar.Texts();
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts[0].pane, 0);
    EXPECT_EQ(texts[0].text, L"230 later");
    EXPECT_EQ(texts[2].pane, 1);
    EXPECT_EQ(texts[2].text, L"");
    EXPECT_EQ(StatusSlotText(1), L"");
}

TEST(StatusText, EachPostCarriesItsOwnCopyAcrossThreads) {
    CRecordingStatusBar bar;
    SetStatusBarWindow(&bar);
    constexpr int Threads = 4;
    constexpr int Posts = 500;
    std::vector<std::thread> writers;
    for (int t = 0; t < Threads; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < Posts; ++i) {
                PostStatusText(0,
                               L"thread " + std::to_wstring(t) + L" reply " + std::to_wstring(i));
            }
        });
    }
    for (auto& w : writers) {
        w.join();
    }
    SetStatusBarWindow(nullptr);
    std::set<std::wstring> distinct;
    for (const auto& posted : bar.Texts()) {
        distinct.insert(posted.text);
    }
    EXPECT_EQ(distinct.size(), static_cast<std::size_t>(Threads * Posts));
}
