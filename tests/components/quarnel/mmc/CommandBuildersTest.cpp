// Command blocks with fields of several bytes, and the time-out each kind gets.
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/CommandTimeouts.h"

#include <gtest/gtest.h>

#include <vector>

namespace quarnel {
namespace {

std::vector<std::uint8_t> Bytes(const CommandBlock& block) {
    return {block.bytes.begin(), block.bytes.begin() + block.length};
}

using V = std::vector<std::uint8_t>;

// The plain commands are checked end to end against the emulated drive; here
// the fields of several bytes, negative addresses and masked bits.
TEST(CommandBuilders, MultiByteFieldsAndMaskedBits) {
    EXPECT_EQ(Bytes(cdb::ModeSense10(0x2A, 0x1234)),
              (V{0x5A, 0x08, 0x2A, 0, 0, 0, 0, 0x12, 0x34, 0}));
    // The page-control bits can never be set through the page code.
    EXPECT_EQ(cdb::ModeSense10(0xC5, 60).bytes[2], 0x05);
    EXPECT_EQ(Bytes(cdb::ReadTrackInformation(cdb::TrackAddressType::Lba, 0x01020304, 28)),
              (V{0x52, 0, 1, 2, 3, 4, 0, 0, 28, 0}));
    EXPECT_EQ(Bytes(cdb::ReadTocPmaAtip(cdb::TocFormat::FullToc, true, 1, 2048)),
              (V{0x43, 0x02, 2, 0, 0, 0, 1, 0x08, 0x00, 0}));
    EXPECT_EQ(Bytes(cdb::ReadCdAudio(0x00012345, 0x000102)),
              (V{0xBE, 0x04, 0, 0x01, 0x23, 0x45, 0, 0x01, 0x02, 0x10, 0, 0}));
    EXPECT_EQ(Bytes(cdb::Write10(0xFFFFFF6A, 16)),
              (V{0x2A, 0, 0xFF, 0xFF, 0xFF, 0x6A, 0, 0, 16, 0}));
    EXPECT_EQ(Bytes(cdb::CloseTrackSession(cdb::CloseFunction::Session, 0, true)),
              (V{0x5B, 1, 2, 0, 0, 0, 0, 0, 0, 0}));
    // Only three bits of blanking type exist; more never spill into Immed.
    EXPECT_EQ(cdb::Blank(0xFF, false).bytes[1], 0x07);
    EXPECT_EQ(Bytes(cdb::SetCdSpeed(cdb::kSpeedMaximum, 176)),
              (V{0xBB, 0, 0xFF, 0xFF, 0x00, 0xB0, 0, 0, 0, 0, 0, 0}));
}

TEST(CommandBuilders, FormatUnitParameterList) {
    const auto list = cdb::FormatUnitParameters(0xFFFFFFFF, cdb::kFormatTypeDvdPlusRwFull, 0, true);
    EXPECT_EQ(V(list.begin(), list.end()),
              (V{0, 0x02, 0, 8, 0xFF, 0xFF, 0xFF, 0xFF, 0x26 << 2, 0, 0, 0}));
    const auto plain = cdb::FormatUnitParameters(1000, 0, 0x000800, false);
    EXPECT_EQ(V(plain.begin(), plain.end()), (V{0, 0, 0, 8, 0, 0, 0x03, 0xE8, 0, 0, 8, 0}));
}

TEST(CommandTimeouts, FollowTheKindAndImmed) {
    EXPECT_EQ(TimeoutMsFor(cdb::Write10(0, 16)), kWriteTimeoutMs);
    EXPECT_EQ(TimeoutMsFor(cdb::SynchronizeCache(true)), 200'000U);
    EXPECT_EQ(TimeoutMsFor(cdb::SynchronizeCache(false)), 3'600'000U);
    EXPECT_EQ(TimeoutMsFor(cdb::CloseTrackSession(cdb::CloseFunction::Track, 1, true)), 200'000U);
    EXPECT_EQ(TimeoutMsFor(cdb::CloseTrackSession(cdb::CloseFunction::Session, 0, false)),
              3'600'000U);
    EXPECT_EQ(TimeoutMsFor(cdb::Blank(1, true)), 200'000U);
    EXPECT_GT(TimeoutMsFor(cdb::Blank(0, false)), 3'600'000U);
    EXPECT_GT(TimeoutMsFor(cdb::FormatUnit()), 3'600'000U);
    EXPECT_EQ(TimeoutMsFor(cdb::TestUnitReady()), kDefaultTimeoutMs);
    EXPECT_EQ(TimeoutMsFor(cdb::ReadCdAudio(0, 1)), kReadTimeoutMs);
}

TEST(CommandTimeouts, MakeCommandDropsTheDirectionOfEmptyData) {
    std::vector<std::uint8_t> buffer(96);
    const Command read = MakeCommand(cdb::Inquiry(96), DataDirection::FromDevice, buffer);
    EXPECT_EQ(read.direction, DataDirection::FromDevice);
    EXPECT_EQ(read.data.size(), 96U);
    EXPECT_EQ(read.cdb.length, 6);
    const Command none = MakeCommand(cdb::TestUnitReady(), DataDirection::FromDevice, {});
    EXPECT_EQ(none.direction, DataDirection::None);
}

} // namespace
} // namespace quarnel
