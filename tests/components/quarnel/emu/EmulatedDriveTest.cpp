// Emulated drive commands no take, disc program or disc layer test reaches: refusals, test
// writes, a block cut short by a crash, the buffer's drain, drive.ini, an unsavable state.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

constexpr std::uint32_t kChunk = 16;
using std::chrono::milliseconds;

// A MODE SELECT list holding page 05 with the given byte 2 (test write, write type).
std::vector<std::uint8_t> PageFive(std::uint8_t byte2) {
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = byte2;
    return list;
}

TEST(EmulatedDriveCommands, UnknownOperationIsInvalidCommand) {
    EmuTestDrive drive;
    const Result result = drive.Run({0xA8, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, 2048);
    EXPECT_EQ(result.outcome.scsiStatus, kStatusCheckCondition);
    EXPECT_EQ(result.Sense(), sense::kInvalidCommand);
    EXPECT_EQ(result.outcome.transferred, 0U);
    EXPECT_EQ(result.outcome.senseLength, 18U);
    EXPECT_EQ(result.outcome.sense[0], 0x70);
    // REQUEST SENSE then gives the same once.
    const Result sense = drive.Run({0x03, 0, 0, 0, 18, 0}, 18);
    ASSERT_TRUE(sense.Ok());
    EXPECT_EQ(sense.data[2], 0x05);
    EXPECT_EQ(sense.data[12], 0x20);
    EXPECT_EQ(drive.Run({0x03, 0, 0, 0, 18, 0}, 18).data[12], 0x00);
}

// Page 05 of TAO audio is what MODE SENSE gives back; saved pages, unknown pages, MODE
// SELECT without PF, with a bad write type or with a list of the wrong length are refused.
TEST(EmulatedDriveCommands, WriteParametersPageRoundTripsAndBadPagesAreRefused) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    const Result after = drive.Run({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, 60);
    EXPECT_EQ(after.data[10], 0x41);
    EXPECT_EQ(after.data[11], 0xC0);
    EXPECT_EQ(GetBe16(after.data, 8 + 14), 150U);
    EXPECT_EQ(drive.Run({0x5A, 0, 0xC5, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(),
              sense::kSavingNotSupported);
    EXPECT_EQ(drive.Run({0x5A, 0, 0x0E, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(), sense::kInvalidField);
    const std::vector<std::uint8_t> list = PageFive(0x07);
    EXPECT_EQ(drive.Send({0x55, 0x00, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidField);
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidParameter);
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x7F, 0}, list).Sense(),
              sense::kParameterListLength);
}

TEST(EmulatedDriveCommands, ReadCdRefusesBadFieldsAndDvd) {
    EmuTestDrive drive;
    EXPECT_EQ(drive.Run({0xBE, 0x08, 0, 0, 0, 0, 0, 0, 1, 0x10, 0, 0}, 2352).Sense(),
              sense::kInvalidField)
        << "mode 1 sector type";
    EXPECT_EQ(drive.Run({0xBE, 0x04, 0, 0, 0, 0, 0, 0, 1, 0x10, 0x01, 0}, 2352).Sense(),
              sense::kInvalidField)
        << "sub-channel data";
    EmuTestDrive dvd(0, MediumKind::DvdPlusRw);
    EXPECT_EQ(dvd.ReadCd(0, 1).Sense(), sense::kIncompatibleMedium);
}

TEST(EmulatedDriveTao, RefusesWritesWithoutAudioParameters) {
    EmuTestDrive drive;
    // Straight from power-on the drive expects data tracks of 2,048-byte blocks.
    EXPECT_EQ(drive.WriteBlocks(0, testsupport::AudioSectors(0, 16)).Sense(),
              sense::kIllegalModeForTrack);
    ASSERT_TRUE(drive.SelectTaoAudio(false, false).Ok());
    // A length that is not whole blocks.
    std::vector<std::uint8_t> odd(2352 * 16 - 1);
    EXPECT_EQ(drive.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 16, 0}, odd).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveTao, BlockCutShortByACrashIsNotPartOfTheOpenTrack) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, 32)).Ok());
    std::filesystem::resize_file(drive.Folder() / "disc.bin", 32U * 2352 + 1000);
    drive.Reopen();
    EXPECT_EQ(drive.NextWritable(), 32U);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_TRUE(drive.WriteBlocks(32, testsupport::AudioSectors(32, 16)).Ok());
    EXPECT_EQ(std::filesystem::file_size(drive.Folder() / "disc.bin"), 48U * 2352);
}

TEST(EmulatedDriveTao, TestWriteRecordsNothing) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, PageFive(0x11)).Ok());
    EXPECT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, 16)).Ok());
    EXPECT_EQ(drive.NextWritable(), 0U);
    EXPECT_TRUE(drive.Drive().State().Blank());
}

constexpr std::size_t kChunkBytes = kChunk * 2352;

// Ten writes at 1x leave 2.13 s of writing: SYNCHRONIZE CACHE without Immed holds that
// long; with Immed the drive reports an operation in progress until the buffer is empty.
TEST(EmulatedDriveBuffer, SynchronizeCacheWaitsForTheBufferToDrainOrReportsBusy) {
    for (const bool immediate : {false, true}) {
        EmuTestDrive drive(1);
        ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
        for (std::uint32_t address = 0; address < 160; address += kChunk) {
            ASSERT_TRUE(
                drive.WriteBlocks(address, testsupport::AudioSectors(address, kChunk)).Ok());
        }
        const Nanos before = drive.Clock().Now();
        ASSERT_TRUE(
            drive.Run({0x35, immediate ? std::uint8_t{2} : std::uint8_t{0}, 0, 0, 0, 0, 0, 0, 0, 0})
                .Ok());
        if (!immediate) {
            EXPECT_GE(drive.Clock().Now() - before, milliseconds(2133));
            EXPECT_LE(drive.Clock().Now() - before, milliseconds(2134));
            continue;
        }
        EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kOperationInProgress);
        drive.Clock().Advance(milliseconds(2134));
        EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    }
}

TEST(EmulatedDriveErase, BlankRefusedOnWriteOnceAndBadType) {
    EmuTestDrive drive;
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kIncompatibleMedium);
    EmuTestDrive rw(0, MediumKind::CdRw);
    EXPECT_EQ(rw.Run({0xA1, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(), sense::kInvalidField);
}

void Rewrite(EmuTestDrive& drive, const DriveSettings& settings) {
    ASSERT_TRUE(SaveDriveSettings(drive.Folder() / "drive.ini", settings));
    drive.Reopen();
}

TEST(EmulatedDriveSettings, MediaTheDriveCannotWriteAreRefused) {
    EmuTestDrive drive(0, MediumKind::CdRw);
    DriveSettings settings = drive.Drive().Settings();
    settings.capabilities.cdRw = false;
    settings.capabilities.testWrite = false;
    Rewrite(drive, settings);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_EQ(drive.WriteBlocks(0, testsupport::AudioSectors(0, 16)).Sense(),
              sense::kCannotWriteMedium);
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kCannotWriteMedium);
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, PageFive(0x11)).Sense(),
              sense::kInvalidParameter)
        << "test write";
}

TEST(EmulatedDriveSettings, StateThatCannotBeSavedFailsTheCommand) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, 16)).Ok());
    // A folder where the temporary state file must go: the state cannot be replaced.
    std::filesystem::create_directory(drive.Folder() / "disc.state.tmp");
    EXPECT_TRUE(drive.WriteBlocks(16, testsupport::AudioSectors(16, 16)).Ok())
        << "appending needs no state";
    EXPECT_EQ(drive.CloseTrack(1).Sense(), sense::kWriteError);
    EXPECT_FALSE(drive.Drive().LoadBlank(MediumKind::CdRw));
    std::filesystem::remove(drive.Folder() / "disc.state.tmp");
    drive.Reopen();
    EXPECT_EQ(drive.Drive().State().medium, MediumKind::CdR) << "the last saved state";
    EXPECT_EQ(drive.NextWritable(), 32U);
}

} // namespace
} // namespace quarnel::emu::test
