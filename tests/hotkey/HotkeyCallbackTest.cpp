// The hotkey callback fed event by event, and arming without a usable library
// or display: which sequences complete a combination, and what clears a
// half-pressed one.
#include "MainApp/hotkey/HotkeyCallback.h"
#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "engine/RecordingState.h"
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace hotkey;

constexpr std::uint32_t kDown = kTrindleKeyDown;
constexpr std::uint32_t kUp = kTrindleKeyUp;
constexpr std::uint32_t kSysDown = kTrindleSystemKeyDown;
constexpr std::uint32_t kSysUp = kTrindleSystemKeyUp;
constexpr std::uint32_t kF5 = 0x74;
constexpr std::uint32_t kLeftCtrl = 0xA2;
constexpr std::uint32_t kRightCtrl = 0xA3;
constexpr std::uint32_t kLeftAlt = 0xA4;
constexpr std::uint32_t kRightAlt = 0xA5;

class HotkeyCallbackTest : public ::testing::Test {
protected:
    void SetUp() override { g_notRecording.store(true); }
    void TearDown() override {
        DisarmHotkeys();
        g_ctrlHeld = false;
        g_altHeld = false;
        g_keyUsed = 0;
    }

    // Settings as ArmHotkeys leaves them, with the test's window and queue.
    void Use(std::int32_t type, std::uint32_t value) {
        g_keyUsed = 1;
        g_keyType = type;
        g_keyValue = value;
        g_ctrlHeld = false;
        g_altHeld = false;
        g_hotkeyWindow = &m_window;
        g_hotkeyPost = m_queue.Poster();
    }

    // Feeds the events and returns how many toggles they posted.
    int Feed(const std::vector<std::pair<std::uint32_t, std::uint32_t>>& events) {
        const int before = m_queue.Posted();
        for (const auto& [message, vk] : events) {
            const TrindleKeyRecord record{vk, 0, 0, 0};
            EXPECT_EQ(HotkeyCallback(message, &record), 1u);
        }
        return m_queue.Posted() - before;
    }

    hotkeytest::FakeWindow m_window;
    hotkeytest::UiQueue m_queue;
};

TEST_F(HotkeyCallbackTest, AKeyWithoutModifierTogglesOnEveryPressAndStartsThenStops) {
    Use(0, kF5);
    EXPECT_EQ(Feed({{kDown, kF5}, {kUp, kF5}}), 1);
    m_queue.RunWhenPosted(1);
    EXPECT_EQ(m_window.m_starts, 1);
    g_notRecording.store(false);                      // the take runs now
    EXPECT_EQ(Feed({{kDown, kF5}, {kDown, kF5}}), 2); // auto-repeat counts too
    m_queue.RunWhenPosted(3);
    EXPECT_EQ(m_window.m_stops, 2);
    // Other keys, releases, system keys and unknown messages do nothing.
    EXPECT_EQ(Feed({{kDown, kF5 + 1}, {kUp, kF5}, {kSysDown, kF5}, {kSysUp, kF5}, {0x200, kF5}}),
              0);
}

TEST_F(HotkeyCallbackTest, OnlyTheChosenCtrlKeyHeldDownCompletesTheCombination) {
    Use(1, 'R');
    EXPECT_EQ(Feed({{kDown, kLeftCtrl}, {kDown, 'R'}}), 1);
    EXPECT_EQ(Feed({{kUp, 'R'}, {kUp, kLeftCtrl}, {kDown, 'R'}}), 0);        // R alone
    EXPECT_EQ(Feed({{kDown, kRightCtrl}, {kDown, 'R'}, {kUp, 'R'}}), 0);     // the other Ctrl
    EXPECT_EQ(Feed({{kDown, kLeftAlt}, {kSysDown, 'R'}, {kSysUp, 'R'}}), 0); // an Alt key
    // A release of another key while Left Ctrl is still held clears the flag
    // until Left Ctrl goes down again (its auto-repeat does that).
    EXPECT_EQ(Feed({{kDown, kLeftCtrl}, {kDown, 'X'}, {kUp, 'X'}, {kDown, 'R'}}), 0);
    EXPECT_EQ(Feed({{kDown, kLeftCtrl}, {kDown, 'R'}}), 1);

    Use(2, 'R');
    EXPECT_EQ(Feed({{kDown, kLeftCtrl}, {kDown, 'R'}}), 0);
    EXPECT_EQ(Feed({{kDown, kRightCtrl}, {kDown, 'R'}}), 1);
}

TEST_F(HotkeyCallbackTest, AnAltCombinationComesAsSystemKeysAfterTheChosenAltKey) {
    Use(4, '5');
    EXPECT_EQ(Feed({{kSysDown, kRightAlt}, {kSysDown, '5'}}), 1);
    EXPECT_EQ(Feed({{kSysUp, '5'}, {kSysDown, '5'}}), 0); // a release cleared the flag
    EXPECT_EQ(Feed({{kSysDown, kLeftAlt}, {kSysDown, '5'}}), 0);
    // A plain key-down of Right Alt sets the flag too.
    EXPECT_EQ(Feed({{kUp, kLeftAlt}, {kDown, kRightAlt}, {kDown, '5'}}), 1);

    Use(1, '5'); // a Ctrl type ignores system keys altogether
    EXPECT_EQ(Feed({{kDown, kLeftCtrl}, {kSysDown, kRightAlt}, {kSysDown, '5'}}), 0);
}

TEST_F(HotkeyCallbackTest, NothingHappensWhileTheHotkeyIsOff) {
    Use(0, kF5);
    g_keyUsed = 0;
    EXPECT_EQ(Feed({{kDown, kF5}, {kSysDown, kF5}}), 0);
    EXPECT_EQ(HotkeyCallback(kDown, nullptr), 1u);
}

TEST_F(HotkeyCallbackTest, WithoutTheLibraryOrAnXDisplayThereAreNoHotkeysAndNoMessage) {
    testsupport::ScopedRegistryFile registry;
    ASSERT_TRUE(WriteHotkeySettings(0, kF5, 1));
    EXPECT_FALSE(ArmHotkeys(&m_window, m_queue.Poster(), registry.Folder().File("libnone.so")));
    EXPECT_EQ(g_hotkeyLibrary, nullptr);
    EXPECT_EQ(g_keyValue.load(), kF5); // the settings were read all the same

    // The real library, with no display to watch.
    const char* display = std::getenv("DISPLAY");
    const std::string savedDisplay = display == nullptr ? "" : display;
    for (const char* unusable : {static_cast<const char*>(nullptr), ":4711"}) {
        unusable == nullptr ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", unusable, 1);
        EXPECT_FALSE(ArmHotkeys(&m_window, m_queue.Poster(),
                                std::string(SONDREL_PROGRAM_DIR) + "/libtrindle.so"));
        EXPECT_NE(g_hotkeyLibrary, nullptr);
    }
    display == nullptr ? ::unsetenv("DISPLAY") : ::setenv("DISPLAY", savedDisplay.c_str(), 1);
}

} // namespace
