// The hand-over window of the display: newest frames, oldest first, across
// the wrap of its storage.

#include "components/oskary/LatestSamples.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// `count` frames whose left sample counts up from `first` and whose right
// sample is its negative, as little-endian PCM, with `extra` stray bytes.
std::vector<std::uint8_t> Pcm(int first, int count, int extra = 0) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        for (const int sample : {first + i, -(first + i)}) {
            const auto word = static_cast<std::uint16_t>(sample);
            bytes.push_back(static_cast<std::uint8_t>(word & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(word >> 8));
        }
    }
    bytes.insert(bytes.end(), static_cast<std::size_t>(extra), 0x7F);
    return bytes;
}

TEST(LatestSamples, KeepsTheNewestFramesOldestFirstAcrossBlocksAndWraps) {
    LatestSamples samples(5);
    std::uint64_t seen = 0;
    std::vector<StereoFrame> out;
    EXPECT_FALSE(samples.CopyIfNewer(seen, out));
    for (const auto& block : {Pcm(1, 3), Pcm(4, 4, 3), Pcm(8, 9)}) {
        samples.Publish(block.data(), block.size());
        ASSERT_TRUE(samples.CopyIfNewer(seen, out));
    }
    EXPECT_FALSE(samples.CopyIfNewer(seen, out));
    ASSERT_EQ(out.size(), 5u);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(out[static_cast<std::size_t>(i)].left, 12 + i);
        EXPECT_EQ(out[static_cast<std::size_t>(i)].right, -(12 + i));
    }
    const auto shortBlock = Pcm(100, 2);
    samples.Publish(shortBlock.data(), shortBlock.size());
    ASSERT_TRUE(samples.CopyIfNewer(seen, out));
    EXPECT_EQ(out[0].left, 14);
    EXPECT_EQ(out[3].left, 100);
    EXPECT_EQ(out[4].left, 101);
}

} // namespace
