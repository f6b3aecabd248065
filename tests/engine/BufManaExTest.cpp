// The display's ring: a stop that releases the reader, the read limit and bad input. A reader
// that keeps up and blocks dropped for a stalled display are checked end to end by the
// waveform display's capture test.
#include "engine/BufManaEx.h"
#include "tests/engine/TestStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <vector>

using enginetest::FillStream;

namespace {

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
