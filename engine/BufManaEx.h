#pragma once
// A byte ring with running byte totals between one producer and one consumer,
// without a lock. Wave-in capture writes every full capture buffer into it and
// the live waveform display reads from it on its own thread. Byte number t of
// the stream is stored at offset t mod m_capacity; the ring holds
// m_writeTotal - m_readTotal bytes.
//
// The capture path never waits here. A block that does not fit (the display
// has stalled, or has stopped at its limit) is dropped from the display stream
// as a whole and counted in GetDroppedBytes(); the reader then sees whole
// blocks in order, with gaps only where blocks were dropped. The reader polls
// with 50 ms pauses while it waits for data and gives up at a stop.
//
// The fields are declared in the order the waveform display component
// expects, but the record is not packed: the totals and the flag are atomics,
// and atomic words must be naturally aligned to be lock-free. The writer
// stores m_writeTotal with release after copying the block in; the reader
// loads it with acquire before copying out, so it never sees bytes that are
// not yet stored. In the other direction the reader stores m_readTotal with
// release after its copy and the writer loads it with acquire before reusing
// that room.

#include <atomic>
#include <cstdint>
#include <memory>

class BufManaEx {
public:
    BufManaEx() = default;
    virtual ~BufManaEx() = default;
    BufManaEx(const BufManaEx&) = delete;
    BufManaEx& operator=(const BufManaEx&) = delete;

    // Allocates `capacity` zero-filled bytes and starts both totals at 0, with
    // the stop flag clear. The reader takes nothing more once it has read
    // `limit` bytes. Call it only while neither side is inside an operation;
    // it discards all content and the dropped-bytes count.
    void Init(std::uint32_t capacity, std::uint32_t limit);

    // Producer. Stores the block, or drops it when it does not fit (or when
    // the 32-bit byte numbering would overflow); true either way. False only
    // for a null `data` with a non-zero length.
    bool Write(const std::uint8_t* data, std::uint32_t length);

    // Consumer. Copies `length` bytes once they are in the ring, waiting for
    // them in 50 ms steps; returns true without copying after a stop or once
    // the limit has been reached, and copies only up to the limit when the
    // stream has passed it. False, without copying, for a null `dest` with a
    // non-zero length or for a length the ring can never hold. The writer
    // stores whole blocks only, so a length within one writer block of the
    // capacity may never become available; the reader keeps waiting then
    // until a stop.
    bool Read(std::uint8_t* dest, std::uint32_t length);

    void SetStop(bool stop);
    bool IsStopped() const;

    std::uint64_t GetDroppedBytes() const;
    std::uint32_t GetReadTotal() const;
    std::uint32_t GetWriteTotal() const;

private:
    std::atomic<bool> m_stopped{false};
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::uint32_t m_capacity = 0;
    std::uint32_t m_limit = 0;
    // Written by the consumer alone.
    std::atomic<std::uint32_t> m_readTotal{0};
    // Written by the producer alone.
    std::atomic<std::uint32_t> m_writeTotal{0};
    // Bytes the producer dropped because they did not fit.
    std::atomic<std::uint64_t> m_droppedBytes{0};
};
