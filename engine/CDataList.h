#pragma once
// An unbounded, thread-safe byte queue that carries recorded PCM from the
// wave-in callback to a slower consumer (the MP3 encoder, or the CD writer
// thread). It grows in blocks of 2 MiB, so the producer never waits for the
// consumer; a consumer that falls behind only makes the queue longer.
//
// Byte t of the stream lies in the block that starts at stream position
// t - (t mod 2 MiB), at offset t mod 2 MiB. The head block holds position
// m_GetDataTotalLen, the tail block position m_PutDataTotalLen - 1; a block
// leaves the list as soon as its last byte has been handed out.
//
// States: open (m_stop false) -> ended (SetStop(true); data may remain) ->
// drained (IsFinished()) -> Reset() -> open.
//
// PutData runs on the capture thread, so in steady state it neither allocates
// nor blocks for long: the lock is held only around list updates and copies,
// never during a pause; blocks the consumer has emptied go to a small spare
// pool that PutData takes from (it allocates only when no spare is left), and
// spares beyond kMaxSpareBlocks are freed by the consumer, outside the lock.
// List nodes move between the data list and the pool by splicing, which does
// not allocate either. A put after the end of the stream is dropped and
// counted; the trace line "PutData -- Stop" goes to stderr with one write(2)
// only when SONDREL_DEBUG_TRACE is set in the environment at construction.
//
// The consumer's side counts the samples at full scale in what it is handed
// (GetClippedSamples): every sample of the stream passes there once, so the
// count of a take to CD or MP3 is exact, on the writer's or the encoder's
// thread and never in the capture callback's time.

#include "engine/CDataListPauses.h"
#include "engine/ClipCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>

class CDataList {
public:
    static constexpr std::uint32_t kBlockBytes = 0x200000;
    static constexpr std::size_t kMaxSpareBlocks = 2;

    explicit CDataList(CDataListPauses pauses = {});
    virtual ~CDataList();
    CDataList(const CDataList&) = delete;
    CDataList& operator=(const CDataList&) = delete;

    // Empties the queue (up to kMaxSpareBlocks of its blocks stay as spares),
    // sets both totals to 0 and opens the stream again.
    void Reset();
    // Ends (true) or reopens (false) the stream; does not take the lock.
    void SetStop(bool stop);
    // The stream has ended and every byte of it has been handed out.
    bool IsFinished() const;
    // The stream has ended (bytes may still be waiting).
    bool IsEnded() const;

    // Appends `length` bytes; a chunk of at most one block's size touches at
    // most two blocks. Dropped (and counted) after the end of the stream.
    void PutData(const std::uint8_t* data, std::uint32_t length);

    // On entry *length is the number of bytes wanted. Returns true with
    // *length set to the number delivered, which is the number wanted while
    // the stream is open and may be less once it has ended. Returns false
    // after the empty-get pause when fewer bytes are waiting, and at once for
    // a null `length`, or a null `dest` with bytes wanted.
    bool GetData(std::uint8_t* dest, std::uint32_t* length);

    std::uint64_t GetWaitingBytes() const;
    std::size_t GetBlockCount() const;
    std::size_t GetSpareBlockCount() const;
    // Blocks allocated since construction; unchanged while spares are reused.
    std::uint64_t GetBlockAllocations() const;
    // Puts dropped because the stream had ended.
    std::uint64_t GetDroppedPuts() const;
    // Samples at full scale among the bytes handed out since the count was
    // last reset; the count survives Reset, so it still holds at the end of
    // a take. Reset it only while no consumer runs.
    std::uint64_t GetClippedSamples() const;
    void ResetClippedSamples();

private:
    using Block = std::unique_ptr<std::uint8_t[]>;
    using BlockList = std::list<Block>;

    void AppendBlock();
    // Moves the emptied head block to the spare pool, or to `toFree` when the
    // pool is full, so that it can be freed after the lock is released.
    void RetireHeadBlock(BlockList& toFree);
    void TraceDroppedPut() const;

    BlockList m_blocks;
    std::uint64_t m_PutDataTotalLen = 0;
    std::uint64_t m_GetDataTotalLen = 0;
    // Guards the lists, both totals and the allocation count.
    mutable std::mutex m_lock;
    // Read under the lock by PutData, GetData and IsFinished; set without it.
    std::atomic<bool> m_stop{false};
    BlockList m_spareBlocks;
    std::uint64_t m_blockAllocations = 0;
    std::atomic<std::uint64_t> m_droppedPuts{0};
    // The consumer's alone (counted outside the lock).
    ClipCounter m_clips;
    CDataListPauses m_pauses;
    bool m_traceEnabled = false;
};
