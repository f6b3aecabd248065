// The stored skin index through the real settings file: a missing value is
// stored as 1, a stray 7 is kept, the Skin button's cycle is stored step by
// step, and unreachable settings give an error status (and skin 1 at start-up).

#include "skin/SkinSetting.h"
#include "platform/registry/Registry.h"
#include "skin/SkinState.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

class SkinSettingTest : public testing::Test {
protected:
    void SetUp() override { UseSettingsFile(m_folder.File("registry.ini")); }
    void TearDown() override { ::unsetenv("SONDREL_REGISTRY"); }

    static void UseSettingsFile(const std::string& path) {
        ::setenv("SONDREL_REGISTRY", path.c_str(), 1);
    }

    // The stored value read directly, without the skin code.
    static std::optional<platform::DWORD> Stored() {
        platform::HKEY key = nullptr;
        if (platform::RegOpenKeyEx(platform::HKEY_LOCAL_MACHINE, "Software\\Kestrune\\Sondrel\\",
                                   &key) != platform::ERROR_SUCCESS) {
            return std::nullopt;
        }
        platform::DWORD type = 0;
        platform::DWORD value = 0;
        platform::DWORD bytes = sizeof value;
        const platform::LSTATUS status =
            platform::RegQueryValueEx(key, "skinindex", &type, &value, &bytes);
        platform::RegCloseKey(key);
        if (status != platform::ERROR_SUCCESS || type != platform::REG_DWORD) {
            return std::nullopt;
        }
        return value;
    }

    testsupport::TempFolder m_folder;
};

TEST_F(SkinSettingTest, MissingValueIsStoredAsOneAndAStrayIndexIsKept) {
    EXPECT_EQ(Stored(), std::nullopt);
    EXPECT_EQ(skin::SkinIndexSetting(0), 1);
    EXPECT_EQ(Stored(), 1u);

    EXPECT_EQ(skin::SkinIndexSetting(7), platform::ERROR_SUCCESS);
    EXPECT_EQ(skin::SkinIndexSetting(0), 7);
    EXPECT_EQ(skin::ReadSkinIndexForStartup(), 7);
    // Pressing Skin with the stray index stores 1.
    EXPECT_EQ(skin::SkinIndexSetting(skin::NextSkinIndex(7)), platform::ERROR_SUCCESS);
    EXPECT_EQ(Stored(), 1u);
}

TEST_F(SkinSettingTest, SkinButtonCycleIsStoredForTheNextStart) {
    std::int32_t index = skin::ReadSkinIndexForStartup();
    ASSERT_EQ(index, 1);
    for (const std::int32_t expected : {2, 3, 4, 1, 2}) {
        index = skin::NextSkinIndex(index);
        ASSERT_EQ(skin::SkinIndexSetting(index), platform::ERROR_SUCCESS);
        // What the restarted program reads.
        EXPECT_EQ(skin::ReadSkinIndexForStartup(), expected);
    }
}

TEST_F(SkinSettingTest, UnreachableSettingsGiveAnErrorAndSkinOneAtStartup) {
    // A settings file inside a "folder" that is a plain file cannot be made.
    const std::string blocker = m_folder.Write("blocker", "not a folder");
    UseSettingsFile(blocker + "/sondrel/registry.ini");
    const std::int32_t status = skin::SkinIndexSetting(0);
    EXPECT_NE(status, platform::ERROR_SUCCESS);
    EXPECT_NE(status, 1);
    EXPECT_NE(skin::SkinIndexSetting(3), platform::ERROR_SUCCESS);
    EXPECT_EQ(skin::ReadSkinIndexForStartup(), 1);
}

} // namespace
