// Arming the hotkey without a usable library or display. Which key sequences
// complete a combination is tested under a real X server (HotkeyX11Test).
#include "MainApp/hotkey/HotkeyCallback.h"
#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace hotkey;

constexpr std::uint32_t kF5 = 0x74;

class HotkeyCallbackTest : public ::testing::Test {
protected:
    void TearDown() override { DisarmHotkeys(); }

    hotkeytest::FakeWindow m_window;
    hotkeytest::UiQueue m_queue;
};

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
