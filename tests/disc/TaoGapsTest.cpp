// Takes written track-at-once on a CD-R lie as a real writer leaves them: a
// closed track ends with 2 run-out blocks and the next one starts after its
// 150-block pre-gap. The drive's answers, its image and the track list agree,
// and the list keeps each take's own sound.
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "disc/TrackListReader.h"
#include "disc/TrackRowsTable.h"
#include "tests/disc/DiscFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace disc {
namespace {

using quarnel::test::EmulatedRig;

// A block as READ CD gives it with the formatted Q sub-channel after its sound.
std::vector<std::uint8_t> ReadWithQ(EmulatedRig& rig, std::uint32_t lba) {
    std::vector<std::uint8_t> reply(2352 + 16);
    quarnel::Command read;
    read.cdb = {{0xBE, 0x04, 0, 0, static_cast<std::uint8_t>(lba >> 8),
                 static_cast<std::uint8_t>(lba), 0, 0, 1, 0x10, 0x02, 0},
                12};
    read.direction = quarnel::DataDirection::FromDevice;
    read.data = reply;
    EXPECT_TRUE(rig.Emulated().Execute(read).Ok()) << "block " << lba;
    return reply;
}

TEST(TaoGaps, TheNextTakeStartsAfterRunOutAndPreGapAndTheListKeepsTheSound) {
    EmulatedRig rig(quarnel::emu::MediumKind::CdR);
    test::RecordTake(rig, 1, 10, false); // blocks 0 to 159, run-out 160 and 161
    unsigned long next = 0;
    ASSERT_EQ(rig.Device().GetNextWriteAdd(next), quarnel::status::kOk);
    EXPECT_EQ(next, 312U) << "after the pre-gap, 162 to 311";
    test::RecordTake(rig, 2, 5, false); // 312 to 391

    TrackRowsTable rows;
    TrackAddressTable addresses;
    TrackListReader(rows, addresses).ReadDisc(&rig.Device());
    ASSERT_EQ(rows.RowCount(), 2);
    EXPECT_EQ(addresses.end[1], 159U) << "the first take without the gap after it";
    EXPECT_EQ(addresses.start[2], 312U);
    EXPECT_EQ(rows.Cell(1, kColumnEnd), "391") << "an open disc's last row: its last sector";

    struct GapBlock {
        std::uint32_t lba;
        std::uint8_t track, index; // of the block's Q sub-channel
    };
    for (const GapBlock& gap : {GapBlock{161, 1, 1}, GapBlock{162, 2, 0}, GapBlock{311, 2, 0}}) {
        const std::vector<std::uint8_t> block = ReadWithQ(rig, gap.lba);
        EXPECT_TRUE(std::all_of(block.begin(), block.begin() + 2352, [](auto b) { return b == 0; }))
            << "silence at " << gap.lba;
        EXPECT_EQ(block[2353], gap.track) << gap.lba;
        EXPECT_EQ(block[2354], gap.index) << gap.lba;
    }
    std::stringstream cue;
    cue << std::ifstream(rig.Parent() / "writer" / "disc.cue").rdbuf();
    EXPECT_NE(cue.str().find("INDEX 00 00:02:12\n    INDEX 01 00:04:12\n"), std::string::npos)
        << cue.str();

    ASSERT_EQ(rig.Device().CloseSession(), quarnel::status::kOk);
    rig.WaitUntilReady();
    std::vector<unsigned char> toc(64);
    ASSERT_EQ(rig.Device().ReadToc(toc.data(), 64, 0, 0), quarnel::status::kOk);
    EXPECT_EQ(toc[4 + 8 + 7], 312 % 256) << "track 2";
    EXPECT_EQ(toc[4 + 16 + 6] << 8 | toc[4 + 16 + 7], 394) << "the lead-out after the run-out";
}

} // namespace
} // namespace disc
