#include "components/vesplin/WavHeader.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WavHeaderTest, CdAudioHeaderHasTheCanonicalBytes) {
    // One second of CD audio: 176,400 bytes of sound.
    const std::vector<std::uint8_t> expected{
        'R',  'I',  'F', 'F', 0x34, 0xB1, 0x02, 0x00, 'W', 'A',  'V',  'E',  'f',  'm',  't',
        ' ',  16,   0,   0,   0,    1,    0,    2,    0,   0x44, 0xAC, 0x00, 0x00, 0x10, 0xB1,
        0x02, 0x00, 4,   0,   16,   0,    'd',  'a',  't', 'a',  0x10, 0xB1, 0x02, 0x00};
    const auto header = vesplin::MakeWavHeader(176400);
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin(), header.end()), expected);
}

TEST(WavHeaderTest, SizesReachTheTopOfTheirRange) {
    const auto header = vesplin::MakeWavHeader(0xFFFFFFFFu - 36);
    EXPECT_EQ(header[4], 0xFF);
    EXPECT_EQ(header[7], 0xFF);
    EXPECT_EQ(header[40], 0xDB);
    EXPECT_EQ(header[43], 0xFF);
    const auto empty = vesplin::MakeWavHeader(0);
    EXPECT_EQ(empty[4], 36);
    EXPECT_EQ(empty[40], 0);
}
