#include "components/quarnel/emu/DriveSettingsFile.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include <gtest/gtest.h>

namespace quarnel::emu {
namespace {

TEST(DriveSettingsFile, RoundTrips) {
    test::TempFolder folder;
    DriveSettings settings;
    settings.vendor = "ACME";
    settings.capabilities.dvdRam = false;
    settings.capabilities.underrunProtection = false;
    settings.writeSpeedX = 0;
    settings.bufferKib = 1024;
    settings.timeScale = 0.25;
    settings.faults.longWriteAttempts = 4;
    settings.faults.failWritesFrom = 1000;
    settings.faults.notReady = true;
    settings.faults.unreadable = {{5, 5}, {10, 20}};
    ASSERT_TRUE(SaveDriveSettings(folder.Path() / "drive.ini", settings));
    const std::optional<DriveSettings> back = LoadDriveSettings(folder.Path() / "drive.ini");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->vendor, "ACME");
    EXPECT_EQ(back->capabilities, settings.capabilities);
    EXPECT_EQ(back->writeSpeedX, 0U);
    EXPECT_EQ(back->bufferKib, 1024U);
    EXPECT_DOUBLE_EQ(back->timeScale, 0.25);
    EXPECT_EQ(back->faults, settings.faults);
}

TEST(DriveSettingsFile, MissingKeysKeepDefaultsAndBadValuesAreRefused) {
    test::TempFolder folder;
    const auto path = folder.Path() / "drive.ini";
    ASSERT_TRUE(WriteFileAtomically(path, "; hand-written\n[drive]\nproduct = My Burner \n"));
    const std::optional<DriveSettings> loaded = LoadDriveSettings(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->product, "My Burner");
    EXPECT_EQ(loaded->writeSpeedX, DriveSettings{}.writeSpeedX);
    for (const char* bad : {"[drive]\nwrite_speed=fast\n", "[drive]\ncapabilities=cd-r,laser\n",
                            "[faults]\nunreadable=9-3\n", "[faults]\nnot_ready=yes\n",
                            "[drive]\ntime_scale=-1\n", "[drive]\nwrite_speed=53\n"}) {
        ASSERT_TRUE(WriteFileAtomically(path, bad));
        EXPECT_FALSE(LoadDriveSettings(path).has_value()) << bad;
    }
    EXPECT_FALSE(LoadDriveSettings(folder.Path() / "none.ini").has_value());
}

TEST(DriveSettingsFile, ReadWithTheProgramsProfileRules) {
    test::TempFolder folder;
    const auto path = folder.Path() / "drive.ini";
    ASSERT_TRUE(WriteFileAtomically(
        path, "\xEF\xBB\xBF[DRIVE]\r\nVendor = \"My Co\"\r\n# note\r\nWRITE_SPEED=8\r\n"
              "write_speed=40\r\ncapabilities=\r\n"));
    const std::optional<DriveSettings> loaded = LoadDriveSettings(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->vendor, "My Co");
    EXPECT_EQ(loaded->writeSpeedX, 8U) << "the first of a repeated key counts";
    EXPECT_FALSE(loaded->capabilities.cdR || loaded->capabilities.cdRw ||
                 loaded->capabilities.lock || loaded->capabilities.underrunProtection)
        << "an empty list is no capabilities, unlike a missing one";
}

TEST(DriveSettingsFile, ValuesThatCannotBeKeptOnOneLineAreRefused) {
    test::TempFolder folder;
    DriveSettings settings;
    settings.product = "TWO\nLINES";
    EXPECT_FALSE(SaveDriveSettings(folder.Path() / "drive.ini", settings));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "drive.ini"));
}

} // namespace
} // namespace quarnel::emu
