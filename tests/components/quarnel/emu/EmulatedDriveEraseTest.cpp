// Blanking, formatting and zero-writing of rewritable media, and the disc
// arrival and removal events.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

using std::chrono::seconds;

std::uint16_t Progress(EmuTestDrive& drive, SenseCode expected) {
    const Result sense = drive.Run({0x03, 0, 0, 0, 18, 0}, 18);
    EXPECT_TRUE(sense.Ok());
    EXPECT_EQ(sense.data[2] & 0x0F, expected.key);
    EXPECT_EQ(sense.data[12], expected.asc);
    EXPECT_EQ(sense.data[13], expected.ascq);
    EXPECT_EQ(sense.data[15] & 0x80, 0x80) << "SKSV";
    return GetBe16(sense.data, 16);
}

void RecordOneTrack(EmuTestDrive& drive) {
    ASSERT_TRUE(drive.SelectTaoAudio(true, false).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, 16)).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
}

TEST(EmulatedDriveErase, ImmediateBlankReportsProgressThenReady) {
    EmuTestDrive drive(0, MediumKind::CdRw);
    RecordOneTrack(drive);
    ASSERT_TRUE(drive.Run({0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok()); // minimal, Immed
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kOperationInProgress);
    EXPECT_EQ(drive.WriteBlocks(0, AudioBlocks(0, 16)).Sense(), sense::kOperationInProgress);
    drive.Clock().Advance(std::chrono::milliseconds(12'500));
    const Result polled = drive.Run({0, 0, 0, 0, 0, 0});
    EXPECT_EQ(polled.outcome.sense[15] & 0x80, 0x80) << "progress in the auto-sense too";
    EXPECT_NEAR(GetBe16(polled.outcome.sense, 16), 32768, 2) << "half of a 25 s blank";
    std::uint16_t last = Progress(drive, sense::kOperationInProgress);
    for (int i = 0; i < 5; ++i) {
        drive.Clock().Advance(seconds(2));
        const std::uint16_t now = Progress(drive, sense::kOperationInProgress);
        EXPECT_GT(now, last);
        last = now;
    }
    drive.Clock().Advance(seconds(10));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    const Result disc = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    EXPECT_EQ(disc.data[2] & 0x03, 0) << "blank again";
    EXPECT_EQ(drive.NextWritable(), 0U);
    EXPECT_EQ(drive.ReadCd(0, 1).Sense(), sense::kAddressOutOfRange);
}

TEST(EmulatedDriveErase, BlankWithoutImmedHoldsTheCommand) {
    EmuTestDrive drive(0, MediumKind::CdRw);
    RecordOneTrack(drive);
    const Nanos before = drive.Clock().Now();
    ASSERT_TRUE(drive.Run({0xA1, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok()); // full blank
    EXPECT_GE(drive.Clock().Now() - before, seconds(60));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

TEST(EmulatedDriveErase, BlankRefusedOnWriteOnceAndBadType) {
    EmuTestDrive drive;
    EXPECT_EQ(drive.Run({0xA1, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(),
              sense::kIncompatibleMedium);
    EmuTestDrive rw(0, MediumKind::CdRw);
    EXPECT_EQ(rw.Run({0xA1, 0x05, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveErase, DvdPlusRwFormatThenZeroWritesAndCloseSession) {
    EmuTestDrive drive(0, MediumKind::DvdPlusRw);
    // FORMAT UNIT, FmtData, format code 1; list: Immed, FFFFFFFFh blocks, type 26h.
    const std::vector<std::uint8_t> list{0, 0x02, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x26 << 2, 0, 0, 0};
    ASSERT_TRUE(drive.Send({0x04, 0x11, 0, 0, 0, 0}, list).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kFormatInProgress);
    drive.Clock().Advance(seconds(15));
    EXPECT_NEAR(Progress(drive, sense::kFormatInProgress), 32768, 2);
    drive.Clock().Advance(seconds(16));
    ASSERT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    const std::vector<std::uint8_t> zeros(32 * 2048, 0);
    for (std::uint32_t address = 0; address <= 1600; address += 32) {
        const auto a = static_cast<std::uint8_t>(address >> 8);
        const auto b = static_cast<std::uint8_t>(address);
        ASSERT_TRUE(drive.Send({0x2A, 0, 0, 0, a, b, 0, 0, 32, 0}, zeros).Ok()) << address;
    }
    EXPECT_TRUE(drive.Run({0x35, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_TRUE(drive.CloseSession().Ok());
    const Result disc = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    EXPECT_EQ(disc.data[2] & 0x13, 0x12) << "erasable and complete";
    EXPECT_EQ(disc.data[7] & 0x03, 3) << "formatting complete";
    // A format type that is not for this medium.
    std::vector<std::uint8_t> wrong = list;
    wrong[8] = 0x00;
    EXPECT_EQ(drive.Send({0x04, 0x11, 0, 0, 0, 0}, wrong).Sense(), sense::kInvalidParameter);
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

TEST(EmulatedDriveErase, DvdRwMinimalBlank) {
    EmuTestDrive drive(0, MediumKind::DvdRw);
    const std::vector<std::uint8_t> data(16 * 2048, 7);
    ASSERT_TRUE(drive.Send({0x2A, 0, 0, 0, 0, 0, 0, 0, 16, 0}, data).Ok());
    ASSERT_TRUE(drive.Run({0xA1, 0x11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    drive.Clock().Advance(seconds(61));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_TRUE(drive.Drive().State().Blank());
}

class RecordingListener final : public DiscEventListener {
public:
    void OnDiscEvent(const DiscEvent& event) override { events.push_back(event.kind); }
    std::vector<DiscEventKind> events;
};

TEST(EmulatedDriveEvents, LoadEjectAndDiscChangesAreReported) {
    EmuTestDrive drive(0, MediumKind::None);
    RecordingListener listener;
    drive.Drive().AddListener(&listener);
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdR));
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x02, 0}).Ok());
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x02, 0}).Ok()) << "already open: no second event";
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x03, 0}).Ok());
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdRw));
    ASSERT_TRUE(drive.Drive().RemoveDisc());
    const std::vector<DiscEventKind> expected{DiscEventKind::Arrived, DiscEventKind::Removed,
                                              DiscEventKind::Arrived, DiscEventKind::Removed,
                                              DiscEventKind::Arrived, DiscEventKind::Removed};
    EXPECT_EQ(listener.events, expected);
    drive.Drive().RemoveListener(&listener);
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdR));
    EXPECT_EQ(listener.events.size(), expected.size());
}

} // namespace
} // namespace quarnel::emu::test
