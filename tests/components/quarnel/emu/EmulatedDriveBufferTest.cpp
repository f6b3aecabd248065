// The writer's buffer against a host that is too slow or too fast, and the
// write faults that can be injected.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kChunk = 16;
constexpr std::size_t kChunkBytes = kChunk * 2352;

TEST(EmulatedDriveBuffer, UnderrunWithoutBufeRuinsTheTrack) {
    EmuTestDrive drive(1); // 1x: a 16-block write lasts 213 ms
    ASSERT_TRUE(drive.SelectTaoAudio(false, true).Ok());
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, kChunk)).Ok());
    drive.Clock().Advance(milliseconds(200));
    ASSERT_TRUE(drive.WriteBlocks(16, AudioBlocks(16, kChunk)).Ok()) << "still data to write";
    drive.Clock().Advance(milliseconds(1000));
    EXPECT_EQ(drive.WriteBlocks(32, AudioBlocks(32, kChunk)).Sense(), sense::kLossOfStreaming);
    EXPECT_EQ(drive.WriteBlocks(32, AudioBlocks(32, kChunk)).Sense(), sense::kInvalidWriteAddress);
    const Result info = drive.Run({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36, 0}, 36);
    EXPECT_EQ(info.data[7] & 0x01, 0) << "no writable address on a ruined track";
    // The track can still be closed with what reached the disc before the underrun.
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    EXPECT_EQ(drive.Drive().State().tracks.at(0).length, 32U);
    EXPECT_EQ(drive.NextWritable(), 32U);
}

TEST(EmulatedDriveBuffer, FullBufferAnswersLongWriteInProgressUntilItDrains) {
    EmuTestDrive drive(1);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    const std::size_t fits = 2048 * 1024 / kChunkBytes; // 55 writes
    std::uint32_t address = 0;
    for (std::size_t i = 0; i < fits; ++i, address += kChunk) {
        ASSERT_TRUE(drive.WriteBlocks(address, AudioBlocks(address, kChunk)).Ok()) << i;
    }
    EXPECT_EQ(drive.WriteBlocks(address, AudioBlocks(address, kChunk)).Sense(),
              sense::kLongWriteInProgress);
    EXPECT_EQ(drive.NextWritable(), address) << "a refused write moves nothing";
    drive.Clock().Advance(milliseconds(250));
    EXPECT_TRUE(drive.WriteBlocks(address, AudioBlocks(address, kChunk)).Ok());
}

TEST(EmulatedDriveBuffer, SynchronizeCacheWaitsForTheBufferToDrain) {
    EmuTestDrive drive(1);
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    for (std::uint32_t address = 0; address < 160; address += kChunk) {
        ASSERT_TRUE(drive.WriteBlocks(address, AudioBlocks(address, kChunk)).Ok());
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
    ASSERT_TRUE(drive.WriteBlocks(0, AudioBlocks(0, kChunk)).Ok());
    ASSERT_TRUE(drive.Run({0x35, 0x02, 0, 0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kOperationInProgress);
    drive.Clock().Advance(milliseconds(214));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

} // namespace
} // namespace quarnel::emu::test
