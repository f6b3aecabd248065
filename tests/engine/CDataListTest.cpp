// The MP3 take's queue of blocks: puts and gets across block boundaries, the end of a stream,
// a reset (also while the encoder waits), spare blocks and bad input. Long streams moved by
// the capture and encoder threads are the session's and the encoder's MP3 takes.
#include "engine/CDataList.h"
#include "tests/engine/TestStream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

using enginetest::FillStream;
using enginetest::MatchingStream;

namespace {

constexpr std::uint32_t kChunk = 37632;
constexpr std::uint32_t kBlock = CDataList::kBlockBytes;
constexpr CDataListPauses kNoPauses{0, 0, 0};

// Puts the stream from `position` on in pieces of at most `piece` bytes.
void PutStream(CDataList& queue, std::uint64_t position, std::uint64_t length,
               std::uint32_t piece = kChunk) {
    std::vector<std::uint8_t> buffer(piece);
    for (std::uint64_t done = 0; done < length;) {
        const auto count =
            static_cast<std::uint32_t>(std::min<std::uint64_t>(piece, length - done));
        FillStream(buffer.data(), position + done, count);
        queue.PutData(buffer.data(), count);
        done += count;
    }
}

// Gets `wanted` bytes and checks them against the stream at `position`.
::testing::AssertionResult GetsStream(CDataList& queue, std::uint64_t position,
                                      std::uint32_t wanted) {
    std::vector<std::uint8_t> out(wanted);
    std::uint32_t length = wanted;
    if (!queue.GetData(out.data(), &length)) {
        return ::testing::AssertionFailure() << "GetData returned false";
    }
    if (length != wanted) {
        return ::testing::AssertionFailure() << "delivered " << length << " of " << wanted;
    }
    const std::size_t good = MatchingStream(out.data(), position, wanted);
    if (good != wanted) {
        return ::testing::AssertionFailure() << "byte " << position + good << " differs";
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CDataListBlocks, PutsStraddlingABlockStartANewOneAndGetsFreeWhatTheyEmpty) {
    CDataList queue(kNoPauses);
    PutStream(queue, 0, kBlock - 10000, 65536);
    ASSERT_EQ(queue.GetBlockCount(), 1u);
    PutStream(queue, kBlock - 10000, kChunk); // 10,000 bytes fill the block, 27,632 go on
    EXPECT_EQ(queue.GetBlockCount(), 2u);
    EXPECT_EQ(queue.GetWaitingBytes(), kBlock - 10000 + kChunk);
    EXPECT_TRUE(GetsStream(queue, 0, kBlock - 5000));
    EXPECT_TRUE(GetsStream(queue, kBlock - 5000, 5000)) << "a get ending at the boundary";
    EXPECT_EQ(queue.GetBlockCount(), 1u);
    EXPECT_TRUE(GetsStream(queue, kBlock, kChunk - 10000));
    EXPECT_EQ(queue.GetBlockCount(), 1u) << "the tail block stays for the next put";
    EXPECT_EQ(queue.GetWaitingBytes(), 0u);
    // A chunk larger than a block spans several.
    PutStream(queue, 0, 2 * kBlock + 7, 2 * kBlock + 7);
    EXPECT_EQ(queue.GetBlockCount(), 3u);
    EXPECT_TRUE(GetsStream(queue, 0, 2 * kBlock + 7));
}

// A short last chunk waits while the stream is open and comes out once it is ended; puts
// after the end are dropped and counted.
TEST(CDataListEnd, ShortChunkComesOutOnceEndedAndLaterPutsAreDropped) {
    CDataList queue(kNoPauses);
    PutStream(queue, 0, kChunk - 1);
    std::vector<std::uint8_t> out(kChunk);
    std::uint32_t length = kChunk;
    EXPECT_FALSE(queue.GetData(out.data(), &length));
    queue.SetStop(true);
    PutStream(queue, kChunk - 1, kChunk);
    EXPECT_EQ(queue.GetDroppedPuts(), 1u);
    EXPECT_FALSE(queue.IsFinished()) << "37,631 bytes still waiting";
    EXPECT_TRUE(GetsStream(queue, 0, kChunk - 1));
    EXPECT_TRUE(queue.IsFinished());
    length = kChunk;
    EXPECT_FALSE(queue.GetData(out.data(), &length)) << "nothing left";
}

TEST(CDataListReset, ResetWithDataEmptiesTheQueueAndReopensIt) {
    CDataList queue(kNoPauses);
    PutStream(queue, 0, 3 * kBlock + 5);
    queue.SetStop(true);
    ASSERT_EQ(queue.GetBlockCount(), 4u);

    queue.Reset();
    EXPECT_EQ(queue.GetBlockCount(), 0u);
    EXPECT_EQ(queue.GetSpareBlockCount(), CDataList::kMaxSpareBlocks);
    EXPECT_EQ(queue.GetWaitingBytes(), 0u);
    EXPECT_FALSE(queue.IsFinished()) << "the stream is open again";

    PutStream(queue, 500, kChunk);
    EXPECT_TRUE(GetsStream(queue, 500, kChunk)) << "the new stream starts afresh";
}

TEST(CDataListSpares, SteadyRecordingAllocatesOnlyAtTheStart) {
    CDataList queue(kNoPauses);
    PutStream(queue, 0, kChunk);
    for (std::uint64_t i = 0; i < 1000; ++i) { // about 18 blocks, the consumer a chunk behind
        PutStream(queue, (i + 1) * kChunk, kChunk);
        ASSERT_TRUE(GetsStream(queue, i * kChunk, kChunk)) << "chunk " << i;
    }
    EXPECT_EQ(queue.GetBlockAllocations(), 2u);
}

TEST(CDataListBadInput, NullArgumentsAreRefused) {
    CDataList queue(kNoPauses);
    queue.PutData(nullptr, 100);
    EXPECT_EQ(queue.GetWaitingBytes(), 0u);
    PutStream(queue, 0, 100);
    std::uint32_t length = 10;
    EXPECT_FALSE(queue.GetData(nullptr, &length));
    std::vector<std::uint8_t> out(10);
    EXPECT_FALSE(queue.GetData(out.data(), nullptr));
    EXPECT_EQ(queue.GetWaitingBytes(), 100u);
    length = 0;
    EXPECT_TRUE(queue.GetData(out.data(), &length));
    EXPECT_EQ(length, 0u);
}

// The consumer is waiting for a whole chunk when the control thread resets
// the queue: what was put before the reset never comes out.
TEST(CDataListThreads, ResetWhileTheConsumerWaitsDiscardsTheOldTake) {
    CDataList queue(CDataListPauses{0, 0, 5});
    auto consumer = std::async(std::launch::async, [&queue] {
        std::vector<std::uint8_t> out(kChunk);
        std::uint32_t length = kChunk;
        while (!queue.GetData(out.data(), &length)) {
            length = kChunk;
        }
        return MatchingStream(out.data(), 1000000, length) == kChunk;
    });
    PutStream(queue, 0, kChunk - 1);
    enginetest::GiveTimeToReturn();
    queue.Reset();
    PutStream(queue, 1000000, kChunk);
    EXPECT_TRUE(consumer.get());
}
