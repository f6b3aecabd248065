#pragma once
// A ring of equal-sized slots between exactly one producer thread and one
// consumer thread, without a lock. The producer asks for one empty slot at a
// time and fills it; the consumer takes a group of consecutive slots at a time.
// Track playback uses it between the thread that reads audio from the disc and
// the thread that feeds wave output. Both sides wait by polling with pauses of
// 50 ms; a stop (from any thread) makes both give up within one pause.
//
// Sequence numbers start at 1. Sequence n lives in slot n mod S (slot S when
// that is 0), where S is the number of whole slots in the storage rounded down
// to a multiple of the group size. Because the consumer starts at 1 and always
// advances by a whole group, a group never wraps around the end of storage.
//
// A slot handed out is the caller's until it calls again: the producer has
// filled its slot when it asks for the next one (or gets null at the end of
// the stream), the consumer is done with its group when it asks for the next
// one. Two counters besides the hand-out counters record this, so that
//   - the producer never comes round to the group the consumer is still
//     copying (the ring counts as full while that group is held), and
//   - at the end of the stream the consumer takes the last slots only once the
//     producer has finished filling them, not while it is still writing.
// The producer therefore marks the end of its stream by asking for a slot once
// more after filling the last one; until then a consumer at the end waits for
// more than one group as it does in the middle of the stream (or for Stop).
//
// Shared counters and the stop flag are atomics. Each side stores its own
// counters with release after it has finished with the storage they cover,
// and loads the other side's counters with acquire before touching that
// storage, so slot contents are handed over without a lock.

#include <atomic>
#include <cstdint>
#include <memory>

class BufMana {
public:
    BufMana() = default;
    virtual ~BufMana() = default;
    BufMana(const BufMana&) = delete;
    BufMana& operator=(const BufMana&) = delete;

    // Stores the geometry, allocates zero-filled storage and starts both
    // sequences at 1. Call it only while neither side is inside an operation;
    // it discards all content. Returns false, and leaves a ring that hands out
    // nothing, when the geometry cannot work: a size that is not positive, a
    // lastSeq of 0xFFFFFFFF (sequences are 32-bit), or fewer than two groups of
    // slots (with one group the producer would wait for room while the
    // consumer waits for more than a group, both for ever).
    bool Init(std::int32_t slotSize, std::int32_t groupSize, std::uint32_t lastSeq,
              std::int32_t bufferBytes);

    std::int32_t GetSlotSize() const { return m_slotSize; }
    std::int32_t GetGroupSize() const { return m_groupSize; }

    // Producer: one zero-filled slot of GetSlotSize() bytes, or null at the end
    // of the stream (past lastSeq) or after Stop. Waits while the ring is full.
    std::uint8_t* GetWriteSlot();

    // Consumer: GetGroupSize() consecutive slots, or null past lastSeq or after
    // Stop. Waits until more than one group is outstanding (the newest slot may
    // still be being filled) unless the producer has finished its stream, in
    // which case it takes what is there.
    std::uint8_t* GetReadGroup();

    void Stop();

    // Whether GetWriteSlot / GetReadGroup would return at once with a slot.
    // CanRead does not give back the group the consumer holds; only its next
    // GetReadGroup call does, so a consumer that polls CanRead needs a ring of
    // at least three groups to see it turn true.
    bool CanWrite() const;
    bool CanRead() const;

private:
    std::uint32_t SlotCount() const;
    std::uint8_t* SlotAddress(std::uint32_t seq, std::uint32_t slotCount) const;
    bool ProducerFinished() const;
    bool GroupReady() const;

    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::int32_t m_slotSize = 0;
    std::int32_t m_groupSize = 0;
    std::uint32_t m_lastSeq = 0;
    // Written by the producer alone (release once the previous slot is filled).
    std::atomic<std::uint32_t> m_putSeq{0};
    // Written by the consumer alone.
    std::atomic<std::uint32_t> m_getSeq{0};
    std::int32_t m_bufferBytes = 0;
    std::atomic<bool> m_stopped{false};
    // Every slot up to this sequence number is filled (producer, release).
    std::atomic<std::uint32_t> m_filledSeq{0};
    // The consumer is done with every slot below this sequence number
    // (consumer, release).
    std::atomic<std::uint32_t> m_releasedSeq{0};
};
