// The CD writer's ring of slots handed out in groups: its geometry and the waits of a full
// ring and at the end of the stream. (Long streams moved by the capture and writer threads,
// and a new Init after a stop, are the session's CD takes, run under ThreadSanitizer too.)
#include "engine/BufMana.h"
#include "tests/engine/TestStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <future>
#include <vector>

using enginetest::Eventually;

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

} // namespace

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
