// The message box helper and the scripted host the other tests use.
#include "util/MessageBox.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

using testsupport::ScopedMessageBoxHost;
using testsupport::ScriptedMessageBox;

TEST(MessageBoxTest, WithoutHostTextGoesToStderrAndAnswerIsOk) {
    ::testing::internal::CaptureStderr();
    const int answer = util::ShowMessageBox("No disc in the drive", util::MB_ICONINFORMATION);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "No disc in the drive\n");
    EXPECT_EQ(answer, util::IDOK);
}

TEST(MessageBoxTest, TextIsShownAsItStands) {
    ScriptedMessageBox box;
    ScopedMessageBoxHost installed(box);
    util::ShowMessageBox("100% done, %s %d %n", util::MB_ICONINFORMATION);
    util::ShowMessageBox("", util::MB_OK);
    const auto shown = box.ShownMessages();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "100% done, %s %d %n");
    EXPECT_EQ(shown[0].style, 64u);
    EXPECT_EQ(shown[1].text, "");
    EXPECT_EQ(shown[1].style, 0u);
}

TEST(MessageBoxTest, ScopedHostPutsThePreviousOneBack) {
    ScriptedMessageBox outer({7});
    ScriptedMessageBox inner({6});
    ScopedMessageBoxHost outerInstalled(outer);
    {
        ScopedMessageBoxHost innerInstalled(inner);
        EXPECT_EQ(util::ShowMessageBox("inner", util::MB_YESNO), util::IDYES);
    }
    EXPECT_EQ(util::ShowMessageBox("outer", util::MB_YESNO), util::IDNO);
    EXPECT_EQ(inner.ShownCount(), 1u);
    EXPECT_EQ(outer.ShownCount(), 1u);
}

TEST(MessageBoxTest, WorkerThreadsShowConcurrently) {
    constexpr int kThreads = 4;
    constexpr int kPerThread = 250;
    ScriptedMessageBox box(std::vector<int>(kThreads * kPerThread / 2, util::IDNO), util::IDYES);
    ScopedMessageBoxHost installed(box);
    std::vector<int> yes(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &yes] {
            for (int i = 0; i < kPerThread; ++i) {
                const std::string text = "thread " + std::to_string(t) + " #" + std::to_string(i);
                if (util::ShowMessageBox(text, util::MB_YESNO) == util::IDYES) {
                    ++yes[static_cast<std::size_t>(t)];
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    int totalYes = 0;
    for (const int count : yes) {
        totalYes += count;
    }
    EXPECT_EQ(totalYes, kThreads * kPerThread / 2) << "every scripted answer used exactly once";
    const auto shown = box.ShownMessages();
    ASSERT_EQ(shown.size(), static_cast<std::size_t>(kThreads * kPerThread));
    // Each thread's messages arrive in its own order.
    std::vector<int> next(kThreads, 0);
    for (const auto& message : shown) {
        const int t = message.text[7] - '0';
        EXPECT_EQ(message.text, "thread " + std::to_string(t) + " #" +
                                    std::to_string(next[static_cast<std::size_t>(t)]++));
    }
}

} // namespace
