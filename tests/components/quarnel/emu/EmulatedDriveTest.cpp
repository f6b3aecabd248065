// Each command of the emulated drive against hand-written command blocks, on
// each kind of medium and with none: track-at-once recording read back through
// READ TOC, READ CD and the drive's files; the buffer against a host that is too
// slow or too fast; blanking and formatting; the settings in drive.ini.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CueImageLoader.h"
#include "components/quarnel/emu/CueParser.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

#include <atomic>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace quarnel::emu::test {
namespace {

constexpr std::uint32_t kChunk = 16;
using std::chrono::milliseconds;

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

TEST(EmulatedDriveCommands, TestUnitReadyWithoutMediumAndWithTrayOpen) {
    EmuTestDrive drive(0, MediumKind::None);
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kNoMediumTrayClosed);
    EXPECT_EQ(drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34).Sense(),
              sense::kNoMediumTrayClosed);
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdR));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x02, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kNoMediumTrayOpen);
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x03, 0}).Ok());
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

TEST(EmulatedDriveCommands, WriteParametersPageRoundTrips) {
    EmuTestDrive drive;
    const Result before = drive.Run({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, 60);
    ASSERT_TRUE(before.Ok());
    EXPECT_EQ(before.data[8], 0x05);
    EXPECT_EQ(before.data[9], 0x32);
    EXPECT_EQ(before.data[10] & 0x0F, 1) << "TAO";
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    const Result after = drive.Run({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, 60);
    EXPECT_EQ(after.data[10], 0x41);
    EXPECT_EQ(after.data[11], 0xC0);
    EXPECT_EQ(after.data[12], 0x00);
    EXPECT_EQ(GetBe16(after.data, 8 + 14), 150U);
    EXPECT_EQ(drive.Run({0x5A, 0, 0xC5, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(),
              sense::kSavingNotSupported);
    EXPECT_EQ(drive.Run({0x5A, 0, 0x0E, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(), sense::kInvalidField);
    // MODE SELECT without PF, with a short list and with a bad write type.
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x07;
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

// Two sessions: track 1 (32 blocks) in the first, track 2 (16 blocks) in the second,
// the disc left open for a third.
void RecordTwoSessions(EmuTestDrive& drive) {
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, 32)).Ok());
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
    const std::uint32_t second = drive.NextWritable();
    ASSERT_TRUE(drive.WriteBlocks(second, testsupport::AudioSectors(second, 16)).Ok());
    ASSERT_TRUE(drive.CloseTrack(2).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
}

TEST(EmulatedDriveToc, FullTocListsEverySessionAndPointsToTheNext) {
    EmuTestDrive drive;
    RecordTwoSessions(drive);
    const std::uint32_t second = 32 + 2 + 6750 + 4500 + 150;
    const std::uint32_t third = second + 16 + 2 + 2250 + 4500 + 150;
    EXPECT_EQ(drive.NextWritable(), third);
    const Result full = drive.Run({0x43, 0x02, 0x02, 0, 0, 0, 0, 0x08, 0, 0}, 2048);
    ASSERT_TRUE(full.Ok());
    EXPECT_EQ(full.data[2], 1);
    EXPECT_EQ(full.data[3], 2);
    // Session 1: A0 A1 A2 track 1; session 2: A0 A1 A2 track 2 B0.
    ASSERT_EQ(full.data.size(), 4U + 9 * 11);
    const auto entry = [&](int i) { return full.data.data() + 4 + i * 11; };
    EXPECT_EQ(entry(0)[0], 1);
    EXPECT_EQ(entry(4)[0], 2);
    EXPECT_EQ(entry(4)[3], 0xA0);
    EXPECT_EQ(entry(4)[8], 2) << "first track of session 2";
    EXPECT_EQ(MsfToLba({entry(6)[8], entry(6)[9], entry(6)[10]}), second + 16 + 2);
    EXPECT_EQ(MsfToLba({entry(7)[8], entry(7)[9], entry(7)[10]}), second);
    EXPECT_EQ(entry(8)[3], 0xB0);
    EXPECT_EQ(MsfToLba({entry(8)[4], entry(8)[5], entry(8)[6]}), third);

    const Result info = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    EXPECT_EQ(info.data[4], 3) << "two closed sessions and the empty third";
    EXPECT_EQ(info.data[5], 3);
    EXPECT_EQ(info.data[6], 3);
    EXPECT_EQ(MsfToLba({info.data[17], info.data[18], info.data[19]}), third - 4500 - 150);
}

TEST(EmulatedDriveToc, TrackTocInMsfAndFromAStartTrack) {
    EmuTestDrive drive;
    RecordTwoSessions(drive);
    const Result msf = drive.Run({0x43, 0x02, 0, 0, 0, 0, 2, 0x08, 0, 0}, 2048);
    ASSERT_TRUE(msf.Ok());
    ASSERT_EQ(msf.data.size(), 4U + 2 * 8) << "track 2 and the lead-out";
    EXPECT_EQ(msf.data[6], 2);
    EXPECT_EQ(MsfToLba({msf.data[9], msf.data[10], msf.data[11]}), 32U + 2 + 6750 + 4500 + 150);
    const Result leadOut = drive.Run({0x43, 0, 0, 0, 0, 0, 0xAA, 0x08, 0, 0}, 2048);
    ASSERT_EQ(leadOut.data.size(), 4U + 8);
    EXPECT_EQ(leadOut.data[6], 0xAA);
    EXPECT_EQ(drive.Run({0x43, 0, 0, 0, 0, 0, 3, 0x08, 0, 0}, 2048).Sense(), sense::kInvalidField);
    const Result atip = drive.Run({0x43, 0, 0x04, 0, 0, 0, 0, 0x08, 0, 0}, 2048);
    ASSERT_EQ(atip.data.size(), 28U);
    EXPECT_EQ(atip.data[6] & 0x40, 0) << "CD-R, not CD-RW";
    EXPECT_EQ(std::vector<std::uint8_t>(atip.data.begin() + 8, atip.data.begin() + 11),
              (std::vector<std::uint8_t>{97, 26, 66}))
        << "lead-in";
    EXPECT_EQ(MsfToLba({atip.data[12], atip.data[13], atip.data[14]}), 359849U);
    const Result text = drive.Run({0x43, 0, 0x05, 0, 0, 0, 0, 0x08, 0, 0}, 2048);
    ASSERT_TRUE(text.Ok());
    ASSERT_EQ(text.data.size(), 4U) << "a recorded CD-R carries no CD-Text";
    EXPECT_EQ(GetBe16(text.data, 0), 2U);
}

// Records `chunks` writes of 16 blocks at the drive's next writable address;
// returns the data written.
std::vector<std::uint8_t> RecordTrack(EmuTestDrive& drive, std::uint32_t chunks,
                                      std::uint8_t seed) {
    std::uint32_t address = drive.NextWritable();
    std::vector<std::uint8_t> all;
    for (std::uint32_t i = 0; i < chunks; ++i, address += kChunk) {
        const std::vector<std::uint8_t> data = testsupport::AudioSectors(address, kChunk, seed);
        const Result written = drive.WriteBlocks(address, data);
        EXPECT_TRUE(written.Ok()) << "write at " << address;
        all.insert(all.end(), data.begin(), data.end());
    }
    return all;
}

TEST(EmulatedDriveTao, WholeTakeReadsBackThroughTocReadCdAndFiles) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, false).Ok());
    EXPECT_EQ(drive.NextWritable(), 0U);
    const std::vector<std::uint8_t> data = RecordTrack(drive, 20, 1);
    EXPECT_EQ(drive.NextWritable(), 320U);
    ASSERT_TRUE(drive.Run({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());

    const Result toc = drive.Run({0x43, 0, 0, 0, 0, 0, 1, 0x08, 0, 0}, 2048);
    ASSERT_TRUE(toc.Ok());
    ASSERT_EQ(toc.data.size(), 4U + 2 * 8);
    EXPECT_EQ(GetBe16(toc.data, 0), 18U);
    EXPECT_EQ(toc.data[2], 1);
    EXPECT_EQ(toc.data[3], 1);
    EXPECT_EQ(toc.data[6], 1);
    EXPECT_EQ(GetBe32(toc.data, 8), 0U);
    EXPECT_EQ(toc.data[14], 0xAA);
    EXPECT_EQ(GetBe32(toc.data, 16), 322U) << "the lead-out follows the run-out";

    const Result read = drive.ReadCd(0, 320);
    ASSERT_TRUE(read.Ok());
    EXPECT_EQ(read.data, data);

    const Result info = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    EXPECT_EQ(info.data[2] & 0x03, 2) << "closed without multi-session: complete";
    EXPECT_EQ(GetBe32(info.data, 20), 0xFFFFFFFFU);

    // The files: a BIN that holds exactly the blocks, and a CUE standard readers take.
    const std::optional<std::string> bin = ReadWholeFile(drive.Folder() / "disc.bin");
    ASSERT_TRUE(bin.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(bin->begin(), bin->end()), data);
    const std::optional<std::string> cue = ReadWholeFile(drive.Folder() / "disc.cue");
    ASSERT_TRUE(cue.has_value());
    const CueParseResult sheet = ParseCueSheet(*cue);
    ASSERT_TRUE(sheet.ok) << sheet.error;
    ASSERT_EQ(sheet.sheet.tracks.size(), 1U);
    EXPECT_EQ(sheet.sheet.files.at(0).name, "disc.bin");
    EXPECT_EQ(sheet.sheet.tracks[0].modeText, "AUDIO");
    EXPECT_EQ(sheet.sheet.tracks[0].index1Frames, 0U);
    EXPECT_NE(cue->find("REM DISC COMPLETE"), std::string::npos);

    // A drive made from that CUE reads the same.
    EmuTestDrive other(0, MediumKind::None);
    std::string error;
    ASSERT_TRUE(other.Drive().LoadImage(drive.Folder() / "disc.cue", &error)) << error;
    EXPECT_EQ(other.ReadCd(0, 320).data, data);
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
    RecordTrack(drive, 2, 1);
    std::filesystem::resize_file(drive.Folder() / "disc.bin", 32U * 2352 + 1000);
    drive.Reopen();
    EXPECT_EQ(drive.NextWritable(), 32U);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_TRUE(drive.WriteBlocks(32, testsupport::AudioSectors(32, 16)).Ok());
    EXPECT_EQ(std::filesystem::file_size(drive.Folder() / "disc.bin"), 48U * 2352);
}

TEST(EmulatedDriveTao, TestWriteRecordsNothing) {
    EmuTestDrive drive;
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x11; // test write, TAO
    ASSERT_TRUE(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Ok());
    EXPECT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, 16)).Ok());
    EXPECT_EQ(drive.NextWritable(), 0U);
    EXPECT_TRUE(drive.Drive().State().Blank());
}

constexpr std::size_t kChunkBytes = kChunk * 2352;

TEST(EmulatedDriveBuffer, SynchronizeCacheWaitsForTheBufferToDrain) {
    EmuTestDrive drive(1);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    for (std::uint32_t address = 0; address < 160; address += kChunk) {
        ASSERT_TRUE(drive.WriteBlocks(address, testsupport::AudioSectors(address, kChunk)).Ok());
    }
    // Ten writes at 1x: 2.13 s of writing left. Without Immed the command holds.
    const Nanos before = drive.Clock().Now();
    ASSERT_TRUE(drive.Run({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_GE(drive.Clock().Now() - before, milliseconds(2133));
    EXPECT_LE(drive.Clock().Now() - before, milliseconds(2134));
}

TEST(EmulatedDriveBuffer, ImmediateSynchronizeCacheReportsBusyUntilDrained) {
    EmuTestDrive drive(1);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, testsupport::AudioSectors(0, kChunk)).Ok());
    ASSERT_TRUE(drive.Run({0x35, 0x02, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kOperationInProgress);
    drive.Clock().Advance(milliseconds(214));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

TEST(EmulatedDriveErase, BlankRefusedOnWriteOnceAndBadType) {
    EmuTestDrive drive;
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kIncompatibleMedium);
    EmuTestDrive rw(0, MediumKind::CdRw);
    EXPECT_EQ(rw.Run({0xA1, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveErase, DvdRamTakesWritesAnywhere) {
    EmuTestDrive drive(0, MediumKind::DvdRam);
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x02;
    list[11] = 0x01;
    list[12] = 0x08;
    ASSERT_TRUE(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Ok());
    const std::vector<std::uint8_t> zeros(32 * 2048, 0);
    EXPECT_TRUE(drive.Send({0x2A, 0, 0, 0, 0x06, 0x40, 0, 0, 32, 0}, zeros).Ok());
    EXPECT_TRUE(drive.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 32, 0}, zeros).Ok());
    EXPECT_EQ(drive.Send({0x2A, 0, 0x7F, 0, 0, 0, 0, 0, 32, 0}, zeros).Sense(),
              sense::kAddressOutOfRange);
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kIncompatibleMedium);
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
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x11; // test write
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidParameter);
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
        std::vector<std::uint8_t> data = testsupport::AudioSectors(address, 16);
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
