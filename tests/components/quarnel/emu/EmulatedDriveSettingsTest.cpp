// What drive.ini changes in the drive's behaviour, and commands from several
// threads at once.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace quarnel::emu::test {
namespace {

void Rewrite(EmuTestDrive& drive, const DriveSettings& settings) {
    ASSERT_TRUE(SaveDriveSettings(drive.Folder() / "drive.ini", settings));
    drive.Reopen();
}

TEST(EmulatedDriveSettings, FaultsFromDriveIni) {
    EmuTestDrive drive;
    DriveSettings settings = drive.Drive().Settings();
    settings.faults.longWriteAttempts = 2;
    settings.faults.unreadable = {{0, 0}};
    Rewrite(drive, settings);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_EQ(drive.WriteBlocks(0, AudioBlocks(0, 16)).Sense(), sense::kLongWriteInProgress);
    EXPECT_EQ(drive.WriteBlocks(0, AudioBlocks(0, 16)).Sense(), sense::kLongWriteInProgress);
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, 16)).Ok());
    EXPECT_EQ(drive.ReadCd(0, 1).Sense(), sense::kUnrecoveredRead);
    EXPECT_TRUE(drive.ReadCd(1, 15).Ok());
}

TEST(EmulatedDriveSettings, TimeScaleShortensBlanking) {
    EmuTestDrive drive(0, MediumKind::CdRw);
    DriveSettings settings = drive.Drive().Settings();
    settings.timeScale = 0.01;
    Rewrite(drive, settings);
    ASSERT_TRUE(drive.Run({0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kOperationInProgress);
    drive.Clock().Advance(std::chrono::milliseconds(250));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

TEST(EmulatedDriveSettings, MediaTheDriveCannotWriteAreRefused) {
    EmuTestDrive drive(0, MediumKind::CdRw);
    DriveSettings settings = drive.Drive().Settings();
    settings.capabilities.cdRw = false;
    settings.capabilities.testWrite = false;
    Rewrite(drive, settings);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_EQ(drive.WriteBlocks(0, AudioBlocks(0, 16)).Sense(), sense::kCannotWriteMedium);
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kCannotWriteMedium);
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x11; // test write
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidParameter);
}

TEST(EmulatedDriveSettings, SlowDriveFault) {
    EmuTestDrive drive(0);
    drive.Drive().SetMaxWriteSpeed(2);
    const Result page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    EXPECT_EQ(GetBe16(page.data, 8 + 18), 2U * 176);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    std::uint32_t address = 0;
    while (drive.WriteBlocks(address, AudioBlocks(address, 16)).Ok()) {
        address += 16;
        ASSERT_LT(address, 2000U) << "a 2 MiB buffer must fill";
    }
    EXPECT_EQ(address, 55U * 16);
}

TEST(EmulatedDriveSettings, StateThatCannotBeSavedFailsTheCommand) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, 16)).Ok());
    // A folder where the temporary state file must go: the state cannot be replaced.
    std::filesystem::create_directory(drive.Folder() / "disc.state.tmp");
    EXPECT_TRUE(drive.WriteBlocks(16, AudioBlocks(16, 16)).Ok()) << "appending needs no state";
    EXPECT_EQ(drive.CloseTrack(1).Sense(), sense::kWriteError);
    EXPECT_FALSE(drive.Drive().LoadBlank(MediumKind::CdRw));
    std::filesystem::remove(drive.Folder() / "disc.state.tmp");
    drive.Reopen();
    EXPECT_EQ(drive.Drive().State().medium, MediumKind::CdR) << "the last saved state";
    EXPECT_EQ(drive.NextWritable(), 32U);
}

TEST(EmulatedDriveSettings, WriterThreadAndStatusThreadInterleave) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    std::atomic<bool> done{false};
    std::atomic<int> statusFailures{0};
    std::thread status([&] {
        while (!done.load(std::memory_order_acquire)) {
            std::array<std::uint8_t, 36> reply{};
            Command command;
            command.cdb.bytes = {0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36, 0};
            command.cdb.length = 10;
            command.direction = DataDirection::FromDevice;
            command.data = reply;
            const CommandOutcome outcome = drive.Drive().Execute(command);
            // The address seen is always a whole number of 16-block writes.
            if (!outcome.Ok() || GetBe32(reply, 12) % 16 != 0) {
                statusFailures.fetch_add(1, std::memory_order_relaxed);
            }
        }
    });
    std::uint32_t address = 0;
    for (int i = 0; i < 200; ++i, address += 16) {
        std::vector<std::uint8_t> data = AudioBlocks(address, 16);
        Command command;
        command.cdb.bytes = {0x2A,
                             0,
                             0,
                             0,
                             static_cast<std::uint8_t>(address >> 8),
                             static_cast<std::uint8_t>(address),
                             0,
                             0,
                             16,
                             0};
        command.cdb.length = 10;
        command.direction = DataDirection::ToDevice;
        command.data = data;
        ASSERT_TRUE(drive.Drive().Execute(command).Ok());
    }
    done.store(true, std::memory_order_release);
    status.join();
    EXPECT_EQ(statusFailures.load(), 0);
    EXPECT_EQ(drive.NextWritable(), 3200U);
}

} // namespace
} // namespace quarnel::emu::test
