// The engine's rings without a take's threads (the takes move long streams through them, also
// under ThreadSanitizer): the CD writer's slot groups, the display's ring and the MP3 queue,
// with their waits, ends, resets, limits and bad input.
#include "engine/BufMana.h"
#include "engine/BufManaEx.h"
#include "engine/CDataList.h"
#include "tests/engine/TestStream.h"

#include <cstdlib>
#include <cstring>
#include <future>
#include <gtest/gtest.h>
#include <vector>

using enginetest::Eventually;
using enginetest::FillStream;
using enginetest::MatchingStream;

namespace {

constexpr std::chrono::milliseconds kStillWaiting{160};

bool IsStillWaiting(const std::future<std::uint8_t*>& pending) {
    return pending.wait_for(kStillWaiting) == std::future_status::timeout;
}

std::future<std::uint8_t*> ReadGroupAsync(BufMana& ring) {
    return std::async(std::launch::async, [&ring] { return ring.GetReadGroup(); });
}

std::future<std::uint8_t*> WriteSlotAsync(BufMana& ring) {
    return std::async(std::launch::async, [&ring] { return ring.GetWriteSlot(); });
}

TEST(BufManaGeometry, TenSlotsInGroupsOfFourUseEightAndWrapToSlotOne) {
    constexpr int kSlot = 16;
    BufMana ring;
    ASSERT_TRUE(ring.Init(kSlot, 4, 100, 10 * kSlot));
    EXPECT_EQ(ring.GetSlotSize(), kSlot);
    EXPECT_EQ(ring.GetGroupSize(), 4);

    std::vector<std::uint8_t*> slots;
    slots.reserve(8);
    for (int seq = 1; seq <= 8; ++seq) {
        std::uint8_t* slot = ring.GetWriteSlot();
        ASSERT_NE(slot, nullptr);
        std::memset(slot, 0xAB, kSlot);
        slots.push_back(slot);
    }
    for (int seq = 2; seq <= 8; ++seq) {
        EXPECT_EQ(slots[seq - 1], slots[0] + (seq - 1) * kSlot) << "sequence " << seq;
    }
    EXPECT_FALSE(ring.CanWrite()) << "eight of eight slots are out";

    EXPECT_EQ(ring.GetReadGroup(), slots[0]);
    EXPECT_FALSE(ring.CanWrite()) << "the consumer still holds slots 1 to 4";

    // Asking for the next group gives slots 1 to 4 back; that group comes once
    // sequence 9 is handed out, in slot 1 again.
    auto secondGroup = ReadGroupAsync(ring);
    ASSERT_TRUE(Eventually([&] { return ring.CanWrite(); }));
    std::uint8_t* ninth = ring.GetWriteSlot();
    EXPECT_EQ(ninth, slots[0]);
    EXPECT_EQ(std::vector<std::uint8_t>(ninth, ninth + kSlot), std::vector<std::uint8_t>(kSlot, 0))
        << "a slot is handed to the producer zero-filled";
    EXPECT_EQ(secondGroup.get(), slots[4]);
}

TEST(BufManaGeometry, UnworkableGeometryIsRefusedAndHandsOutNothing) {
    BufMana ring;
    EXPECT_EQ(ring.GetWriteSlot(), nullptr) << "before Init";
    EXPECT_EQ(ring.GetReadGroup(), nullptr) << "before Init";

    EXPECT_FALSE(ring.Init(0, 1, 10, 100));
    EXPECT_FALSE(ring.Init(10, 0, 10, 100));
    EXPECT_FALSE(ring.Init(10, 1, 10, -100));
    EXPECT_FALSE(ring.Init(-10, -1, 10, 100));
    EXPECT_FALSE(ring.Init(10, 4, 10, 79)) << "fewer than two groups";
    EXPECT_FALSE(ring.Init(10, 1, 0xFFFFFFFFu, 100));
    EXPECT_EQ(ring.GetSlotSize(), 0);
    EXPECT_EQ(ring.GetWriteSlot(), nullptr);
    EXPECT_EQ(ring.GetReadGroup(), nullptr);
    EXPECT_FALSE(ring.CanWrite());
    EXPECT_FALSE(ring.CanRead());

    EXPECT_TRUE(ring.Init(10, 4, 10, 80)) << "two groups work";
    EXPECT_NE(ring.GetWriteSlot(), nullptr);
}

TEST(BufManaWaits, FullRingHoldsTheProducerUntilTheConsumerGivesBackAGroup) {
    BufMana ring;
    ASSERT_TRUE(ring.Init(100, 1, 50, 500));
    std::vector<std::uint8_t*> slots(5);
    for (std::uint8_t*& slot : slots) {
        slot = ring.GetWriteSlot();
    }
    auto producer = WriteSlotAsync(ring);
    EXPECT_TRUE(IsStillWaiting(producer));

    EXPECT_EQ(ring.GetReadGroup(), slots[0]);
    EXPECT_TRUE(IsStillWaiting(producer)) << "slot 1 is still being copied out";

    EXPECT_EQ(ring.GetReadGroup(), slots[1]);
    EXPECT_EQ(producer.get(), slots[0]);
}

TEST(BufManaWaits, StopReleasesAProducerWaitingOnAFullRing) {
    BufMana ring;
    ASSERT_TRUE(ring.Init(100, 1, 50, 500));
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(ring.GetWriteSlot(), nullptr);
    }
    auto producer = WriteSlotAsync(ring);
    EXPECT_TRUE(IsStillWaiting(producer));
    ring.Stop();
    EXPECT_EQ(producer.get(), nullptr);
    EXPECT_EQ(ring.GetReadGroup(), nullptr) << "a stop makes both sides give up";
}

TEST(BufManaEndOfStream, LastGroupComesOnceTheProducerHasFinished) {
    BufMana ring;
    ASSERT_TRUE(ring.Init(10, 2, 3, 40));
    std::uint8_t* first = ring.GetWriteSlot();
    ASSERT_NE(ring.GetWriteSlot(), nullptr);
    std::uint8_t* third = ring.GetWriteSlot();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(ring.GetReadGroup(), first);

    // Slot 3 is the last one, but it may still be being filled.
    auto consumer = ReadGroupAsync(ring);
    EXPECT_TRUE(IsStillWaiting(consumer));
    EXPECT_EQ(ring.GetWriteSlot(), nullptr) << "past the last sequence number";
    EXPECT_EQ(consumer.get(), third);

    EXPECT_EQ(ring.GetReadGroup(), nullptr) << "past the last sequence number";
    EXPECT_EQ(ring.GetWriteSlot(), nullptr);
}

std::vector<std::uint8_t> StreamPiece(std::uint64_t position, std::size_t length) {
    std::vector<std::uint8_t> piece(length);
    FillStream(piece.data(), position, length);
    return piece;
}

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

} // namespace
