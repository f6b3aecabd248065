// sondrel-cli hotkey, run as its own process, writes what the program reads:
// each step is read back with ReadHotkeySettings.
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

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
