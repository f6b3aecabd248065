#pragma once
// Reads a track's chunks (TrackReader) on a thread of its own ("track-read")
// while the caller encodes the chunks read before, through a bounded ring of
// chunk buffers: the drive and the encoder work at the same time, and the
// reader is never more than kChunks chunks ahead. The reader also adds each
// chunk to the track's checksums, which leaves the caller's thread only the
// encoding.
//
// Either side ends both. A stop (the flag given) ends the reading after the
// chunk being read, and the taking once the chunks read are taken (so the file
// keeps everything read, as without the thread); the caller's failure (Cancel, or
// the object destroyed) wakes a reader waiting for room and ends it; the
// reader's failure (an exception from the drive) ends the taking and is
// thrown again to the caller by Next, so nothing hangs and no error is lost.

#include "components/vesplin/TrackChecksums.h"
#include "components/vesplin/TrackReader.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace vesplin {

class TrackReadAhead {
public:
    static constexpr std::size_t kChunks = 8;

    struct Chunk {
        std::vector<std::int16_t> samples; // room for TrackReader::kChunkSectors sectors
        std::uint32_t sectors = 0;
        std::uint64_t unreadableSectors = 0; // of the track, up to this chunk
    };

    // Starts reading at once; `reader`, `checksums` and `stop` outlive the
    // object, and `checksums` is the reader's until the object is destroyed.
    TrackReadAhead(TrackReader& reader, TrackChecksums& checksums, const std::atomic<bool>& stop);
    ~TrackReadAhead();
    TrackReadAhead(const TrackReadAhead&) = delete;
    TrackReadAhead& operator=(const TrackReadAhead&) = delete;

    // The next chunk in the track's order, valid until the next call; null
    // when the reader has ended (the track's end, a stop) and every chunk it
    // read was taken. Throws what the reader threw, after the chunks before.
    const Chunk* Next();
    // Ends the reading; returns once the reader has ended.
    void Cancel();

private:
    void Read();

    TrackReader& m_reader;
    TrackChecksums& m_checksums;
    const std::atomic<bool>& m_stop;
    std::vector<Chunk> m_ring;
    std::mutex m_lock;
    std::condition_variable m_changed;
    // Under m_lock: chunks filled and not yet taken, from m_taken on.
    std::size_t m_filled = 0;
    std::size_t m_taken = 0;   // the ring index of the next chunk to take
    bool m_handedOut = false;  // the chunk before m_taken is still the caller's
    bool m_readerDone = false; // no more chunks will be filled
    bool m_cancelled = false;  // the caller gave up
    std::exception_ptr m_readError;
    std::thread m_thread;
};

} // namespace vesplin
