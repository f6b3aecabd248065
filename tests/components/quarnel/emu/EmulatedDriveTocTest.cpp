// READ TOC and READ TRACK INFORMATION variants on recorded discs.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

// Two sessions: track 1 (32 blocks) in the first, track 2 (16 blocks) in the second,
// the disc left open for a third.
void RecordTwoSessions(EmuTestDrive& drive) {
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, 32)).Ok());
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
    const std::uint32_t second = drive.NextWritable();
    ASSERT_TRUE(drive.WriteBlocks(second, AudioBlocks(second, 16)).Ok());
    ASSERT_TRUE(drive.CloseTrack(2).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
}

TEST(EmulatedDriveToc, FullTocListsEverySessionAndPointsToTheNext) {
    EmuTestDrive drive;
    RecordTwoSessions(drive);
    const std::uint32_t second = 32 + 6750 + 4500 + 150;
    const std::uint32_t third = second + 16 + 2250 + 4500 + 150;
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
    EXPECT_EQ(MsfToLba({entry(6)[8], entry(6)[9], entry(6)[10]}), second + 16);
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
    EXPECT_EQ(MsfToLba({msf.data[9], msf.data[10], msf.data[11]}), 32U + 6750 + 4500 + 150);
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

TEST(EmulatedDriveToc, TrackInformationByAddress) {
    EmuTestDrive drive;
    RecordTwoSessions(drive);
    const Result inFirst = drive.Run({0x52, 0x00, 0, 0, 0, 20, 0, 0, 36, 0}, 36);
    ASSERT_TRUE(inFirst.Ok());
    EXPECT_EQ(inFirst.data[2], 1);
    EXPECT_EQ(GetBe32(inFirst.data, 24), 32U);
    EXPECT_EQ(inFirst.data[7] & 0x01, 0) << "a closed track takes no more data";
    const Result inGap = drive.Run({0x52, 0x00, 0, 0, 0x01, 0x00, 0, 0, 36, 0}, 36);
    EXPECT_EQ(inGap.Sense(), sense::kInvalidField) << "block 256 lies in the lead-out";
    EXPECT_EQ(drive.Run({0x52, 0x02, 0, 0, 0, 1, 0, 0, 36, 0}, 36).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveToc, ShortCommandBlockIsRefused) {
    EmuTestDrive drive;
    const Result shortRead = drive.Run({0x43, 0, 0, 0, 0, 0}, 2048);
    EXPECT_EQ(shortRead.Sense(), sense::kInvalidField);
}

} // namespace
} // namespace quarnel::emu::test
