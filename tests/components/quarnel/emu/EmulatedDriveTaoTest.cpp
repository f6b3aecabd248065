// Track-at-once recording end to end: write parameters, next writable
// address, 16-block writes, closing, and reading back through READ TOC and
// READ CD and from the files the drive leaves.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CueImageLoader.h"
#include "components/quarnel/emu/CueParser.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

constexpr std::uint32_t kChunk = 16;

// Records `chunks` writes of 16 blocks at the drive's next writable address;
// returns the data written.
std::vector<std::uint8_t> RecordTrack(EmuTestDrive& drive, std::uint32_t chunks,
                                      std::uint8_t seed) {
    std::uint32_t address = drive.NextWritable();
    std::vector<std::uint8_t> all;
    for (std::uint32_t i = 0; i < chunks; ++i, address += kChunk) {
        const std::vector<std::uint8_t> data = AudioBlocks(address, kChunk, seed);
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
    EXPECT_EQ(GetBe32(toc.data, 16), 320U);

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

TEST(EmulatedDriveTao, SecondTakeAppendsToOpenDisc) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    const auto first = RecordTrack(drive, 19, 1);
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    EXPECT_EQ(drive.NextWritable(), 304U);

    const Result info = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    EXPECT_EQ(info.data[2] & 0x03, 1) << "appendable";
    EXPECT_EQ((info.data[2] >> 2) & 0x03, 1) << "last session incomplete";
    EXPECT_EQ(info.data[6], 2) << "the next track is track 2";
    EXPECT_EQ(GetBe32(info.data, 20), 0x004F3B4AU) << "79:59:74";

    const auto second = RecordTrack(drive, 10, 2);
    // Track 1 must not be closed twice, and track 3 cannot be closed while 2 is open.
    EXPECT_EQ(drive.CloseTrack(3).Sense(), sense::kInvalidField);
    ASSERT_TRUE(drive.CloseTrack(2).Ok());

    const Result full = drive.Run({0x43, 0x02, 0x02, 0, 0, 0, 0, 0x08, 0, 0}, 2048);
    ASSERT_TRUE(full.Ok());
    // The open session has no lead-in yet: its two tracks from the PMA, no
    // A0, A1, A2 or B0 that would make it a closed session.
    ASSERT_EQ(full.data.size(), 4U + 2 * 11);
    const std::uint8_t* track2 = full.data.data() + 4 + 11;
    EXPECT_EQ(track2[3], 2);
    EXPECT_EQ(MsfToLba({track2[8], track2[9], track2[10]}), 304U);

    EXPECT_EQ(drive.ReadCd(304, 160).data, second);
    EXPECT_EQ(drive.ReadCd(0, 304).data, first);
    EXPECT_EQ(drive.ReadCd(464, 1).Sense(), sense::kAddressOutOfRange);
}

TEST(EmulatedDriveTao, RefusesWritesWithoutAudioParameters) {
    EmuTestDrive drive;
    // Straight from power-on the drive expects data tracks of 2,048-byte blocks.
    EXPECT_EQ(drive.WriteBlocks(0, AudioBlocks(0, 16)).Sense(), sense::kIllegalModeForTrack);
    ASSERT_TRUE(drive.SelectTaoAudio(false, false).Ok());
    // A length that is not whole blocks.
    std::vector<std::uint8_t> odd(2352 * 16 - 1);
    EXPECT_EQ(drive.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 16, 0}, odd).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveTao, WritingPastTheEndOfTheDiscIsRefused) {
    EmuTestDrive drive;
    // A disc whose open track already reaches 9 blocks short of the end.
    DiscState nearlyFull = drive.Drive().State();
    nearlyFull.tracks.push_back({1, 1, 0, kCdCapacityBlocks - 9, 0, {}, {}});
    nearlyFull.trackOpen = true;
    ASSERT_TRUE(WriteFileAtomically(drive.Folder() / "disc.state", FormatDiscState(nearlyFull)));
    // The open track ends where the image ends (a sparse file here).
    std::filesystem::resize_file(drive.Folder() / "disc.bin",
                                 std::uint64_t{kCdCapacityBlocks - 9} * 2352);
    drive.Reopen();
    ASSERT_TRUE(drive.SelectTaoAudio(true, false).Ok());
    const std::uint32_t address = kCdCapacityBlocks - 9;
    const Result info = drive.Run({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36, 0}, 36);
    EXPECT_EQ(GetBe32(info.data, 12), address);
    EXPECT_EQ(GetBe32(info.data, 16), 9U);
    EXPECT_EQ(drive.WriteBlocks(address, AudioBlocks(address, 16)).Sense(),
              sense::kAddressOutOfRange);
    EXPECT_TRUE(drive.WriteBlocks(address, AudioBlocks(address, 9)).Ok());
    EXPECT_EQ(drive.NextWritable(), kCdCapacityBlocks);
    EXPECT_EQ(drive.WriteBlocks(kCdCapacityBlocks, AudioBlocks(kCdCapacityBlocks, 1)).Sense(),
              sense::kAddressOutOfRange);
}

TEST(EmulatedDriveTao, BlockCutShortByACrashIsNotPartOfTheOpenTrack) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    RecordTrack(drive, 2, 1);
    std::filesystem::resize_file(drive.Folder() / "disc.bin", 32U * 2352 + 1000);
    drive.Reopen();
    EXPECT_EQ(drive.NextWritable(), 32U);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_TRUE(drive.WriteBlocks(32, AudioBlocks(32, 16)).Ok());
    EXPECT_EQ(std::filesystem::file_size(drive.Folder() / "disc.bin"), 48U * 2352);
}

TEST(EmulatedDriveTao, ClosingTheEmptyInvisibleTrackChangesNothing) {
    EmuTestDrive drive;
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    EXPECT_TRUE(drive.CloseTrack(1).Ok());
    EXPECT_EQ(drive.NextWritable(), 0U);
    EXPECT_EQ(drive.CloseTrack(7).Sense(), sense::kInvalidField);
    EXPECT_EQ(drive.CloseSession().Sense(), sense::kSequenceError) << "nothing to close";
}

TEST(EmulatedDriveTao, TestWriteRecordsNothing) {
    EmuTestDrive drive;
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x11; // test write, TAO
    ASSERT_TRUE(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Ok());
    EXPECT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, 16)).Ok());
    EXPECT_EQ(drive.NextWritable(), 0U);
    EXPECT_TRUE(drive.Drive().State().Blank());
}

} // namespace
} // namespace quarnel::emu::test
