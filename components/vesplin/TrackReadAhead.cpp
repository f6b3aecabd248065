#include "components/vesplin/TrackReadAhead.h"

#include "util/ThreadName.h"

namespace vesplin {

TrackReadAhead::TrackReadAhead(TrackReader& reader, TrackChecksums& checksums,
                               const std::atomic<bool>& stop)
    : m_reader(reader), m_checksums(checksums), m_stop(stop), m_ring(kChunks) {
    for (Chunk& chunk : m_ring) {
        chunk.samples.resize(TrackReader::kChunkSectors * TrackReader::kSectorBytes / 2);
    }
    m_thread = std::thread([this] {
        util::NameThisThread("track-read");
        Read();
    });
}

TrackReadAhead::~TrackReadAhead() {
    Cancel();
}

void TrackReadAhead::Cancel() {
    {
        const std::lock_guard guard(m_lock);
        m_cancelled = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

void TrackReadAhead::Read() {
    std::size_t next = 0; // the ring index the reader fills next
    try {
        for (;;) {
            {
                std::unique_lock lock(m_lock);
                // The chunk the caller holds counts as taken only at its next call.
                m_changed.wait(lock, [this] {
                    return m_cancelled || m_filled + (m_handedOut ? 1 : 0) < kChunks;
                });
                if (m_cancelled) {
                    break;
                }
            }
            // The stop flag is the caller's; relaxed, as it guards no data.
            if (m_stop.load(std::memory_order_relaxed)) {
                break;
            }
            Chunk& chunk = m_ring[next];
            // The slot is the reader's alone until it is counted as filled.
            chunk.sectors =
                m_reader.ReadChunk(reinterpret_cast<std::uint8_t*>(chunk.samples.data()));
            chunk.unreadableSectors = m_reader.UnreadableSectors();
            if (chunk.sectors == 0) {
                break;
            }
            m_checksums.Add(reinterpret_cast<const std::uint8_t*>(chunk.samples.data()),
                            std::size_t{chunk.sectors} * TrackReader::kSectorBytes);
            {
                const std::lock_guard guard(m_lock);
                ++m_filled;
            }
            m_changed.notify_all();
            next = (next + 1) % kChunks;
        }
    } catch (...) {
        const std::lock_guard guard(m_lock);
        m_readError = std::current_exception();
    }
    {
        const std::lock_guard guard(m_lock);
        m_readerDone = true;
    }
    m_changed.notify_all();
}

const TrackReadAhead::Chunk* TrackReadAhead::Next() {
    std::unique_lock lock(m_lock);
    if (m_handedOut) {
        // The caller is done with the chunk it had: its slot is free again.
        m_handedOut = false;
        m_taken = (m_taken + 1) % kChunks;
        m_changed.notify_all();
    }
    m_changed.wait(lock, [this] { return m_filled > 0 || m_readerDone || m_cancelled; });
    if (m_filled == 0 && m_readError) {
        std::rethrow_exception(m_readError);
    }
    if (m_filled == 0 || m_cancelled) {
        return nullptr;
    }
    --m_filled;
    m_handedOut = true;
    return &m_ring[m_taken];
}

} // namespace vesplin
