// The display's ring: a stop that releases the reader, the read limit, bad input, and a
// reader that keeps up. Blocks dropped for a stalled display are checked end to end by the
// waveform display's capture test.
#include "engine/BufManaEx.h"
#include "tests/engine/TestStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <thread>
#include <vector>

using enginetest::FillStream;
using enginetest::MatchingStream;

namespace {

constexpr std::uint32_t kCaptureBlock = 37632;

std::vector<std::uint8_t> StreamPiece(std::uint64_t position, std::size_t length) {
    std::vector<std::uint8_t> piece(length);
    FillStream(piece.data(), position, length);
    return piece;
}

} // namespace

TEST(BufManaExStop, StopReleasesAWaitingReader) {
    BufManaEx ring;
    ring.Init(1000, 0x40000000);
    std::vector<std::uint8_t> out(100, 0xEE);
    auto reader = std::async(std::launch::async, [&] { return ring.Read(out.data(), 100); });
    EXPECT_EQ(reader.wait_for(std::chrono::milliseconds(160)), std::future_status::timeout);
    ring.SetStop(true);
    EXPECT_TRUE(reader.get());
    EXPECT_EQ(out, std::vector<std::uint8_t>(100, 0xEE));
    EXPECT_EQ(ring.GetReadTotal(), 0u);
}

TEST(BufManaExLimit, ReadStopsShortAtTheLimitAndThenTakesNothing) {
    BufManaEx ring;
    ring.Init(200, 150);
    const auto data = StreamPiece(0, 200);
    ASSERT_TRUE(ring.Write(data.data(), 100));
    std::vector<std::uint8_t> out(100, 0xEE);
    ASSERT_TRUE(ring.Read(out.data(), 100));
    ASSERT_TRUE(ring.Write(data.data() + 100, 100));

    std::fill(out.begin(), out.end(), 0xEE);
    ASSERT_TRUE(ring.Read(out.data(), 100));
    EXPECT_EQ(ring.GetReadTotal(), 150u);
    EXPECT_TRUE(std::equal(out.begin(), out.begin() + 50, data.begin() + 100));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin() + 50, out.end()),
              std::vector<std::uint8_t>(50, 0xEE));

    EXPECT_TRUE(ring.Read(out.data(), 10)) << "at the limit: nothing more, no wait";
    EXPECT_EQ(ring.GetReadTotal(), 150u);
}

TEST(BufManaExBadInput, RefusedWithoutCopyingOrWaiting) {
    BufManaEx unset;
    std::vector<std::uint8_t> out(16, 0xEE);
    EXPECT_FALSE(unset.Read(out.data(), 16)) << "no storage yet";
    EXPECT_TRUE(unset.Write(out.data(), 16)) << "dropped: no room at all";
    EXPECT_EQ(unset.GetDroppedBytes(), 16u);

    BufManaEx ring;
    ring.Init(100, 1000);
    EXPECT_FALSE(ring.Read(out.data(), 101)) << "more than the ring can ever hold";
    EXPECT_FALSE(ring.Read(nullptr, 10));
    EXPECT_FALSE(ring.Write(nullptr, 10));
    EXPECT_TRUE(ring.Read(nullptr, 0));
    EXPECT_TRUE(ring.Write(nullptr, 0));
    EXPECT_TRUE(ring.Write(out.data(), 101)) << "a block larger than the ring is dropped";
    EXPECT_EQ(ring.GetDroppedBytes(), 101u);
    EXPECT_EQ(ring.GetWriteTotal(), 0u);
}

// The capture thread writes blocks at a steady pace into a ring of the
// program's size; the display thread reads pieces of another size. Every byte
// arrives once, in order, and a reader that keeps up causes no drops.
TEST(BufManaExThreads, ReaderThatKeepsUpSeesTheWholeStream) {
    constexpr std::uint32_t kCapacity = 200 * kCaptureBlock;
    constexpr std::uint64_t kBlocks = 400;
    constexpr std::uint32_t kPiece = 2048 * 4;
    BufManaEx ring;
    ring.Init(kCapacity, 0x40000000);

    std::thread writer([&ring] {
        std::vector<std::uint8_t> block(kCaptureBlock);
        for (std::uint64_t number = 0; number < kBlocks; ++number) {
            FillStream(block.data(), number * kCaptureBlock, kCaptureBlock);
            ring.Write(block.data(), kCaptureBlock);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    });

    std::vector<std::uint8_t> piece(kPiece);
    std::uint64_t position = 0;
    std::uint64_t badPieces = 0;
    const std::uint64_t total = kBlocks * kCaptureBlock;
    while (position + kPiece <= total) {
        ASSERT_TRUE(ring.Read(piece.data(), kPiece));
        if (MatchingStream(piece.data(), position, kPiece) != kPiece) {
            ++badPieces;
        }
        position += kPiece;
    }
    writer.join();
    EXPECT_EQ(badPieces, 0u);
    EXPECT_EQ(ring.GetDroppedBytes(), 0u);
    EXPECT_EQ(ring.GetReadTotal(), position);
    EXPECT_EQ(ring.GetWriteTotal(), total);
}
