// Arming the hotkey without a usable library or display, and sondrel-cli hotkey, run as its
// own process, writing what the program reads. Which key sequences complete a combination
// is tested under a real X server (HotkeyX11Test).
#include "MainApp/hotkey/HotkeyCallback.h"
#include "MainApp/hotkey/HotkeyArming.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

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

using hotkeytest::ReadStoredSettings;
using hotkeytest::StoredSettings;
using platform::DWORD;

// The exit status of sondrel-cli with `args` (output discarded).
int Cli(const std::string& args) {
    const std::string command =
        std::string(SONDREL_PROGRAM_DIR) + "/sondrel-cli " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str()); // NOLINT(concurrency-mt-unsafe)
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HotkeyCliTest, SetAndOffWriteTheValuesTheProgramReads) {
    testsupport::ScopedRegistryFile registry;
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{0, 0, 0})); // missing values are written as 0
    ASSERT_EQ(Cli("hotkey set r --modifier left-ctrl"), 0);
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{1, 'R', 1}));
    ASSERT_EQ(Cli("hotkey set F12 --modifier Right-Alt"), 0);
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{4, 123, 1}));
    ASSERT_EQ(Cli("hotkey off"), 0);
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{4, 123, 0}));
    ASSERT_EQ(Cli("hotkey set 0"), 0);
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{0, '0', 1}));
    EXPECT_EQ(Cli("hotkey show"), 0);

    for (const char* refused : {"hotkey set F13", "hotkey set R --modifier shift", "hotkey set",
                                "hotkey set R --mod left-ctrl", "hotkey on"}) {
        EXPECT_EQ(Cli(refused), 2) << refused;
    }
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{0, '0', 1}));

    const std::string blocker = registry.Folder().Write("blocker", "x");
    testsupport::ScopedRegistryFile::Use(blocker + "/registry.ini");
    EXPECT_EQ(Cli("hotkey set F1"), 1);
}

} // namespace
