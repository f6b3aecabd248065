#include "engine/session/SoundWatch.h"

#include "engine/RecordingState.h"

namespace engine {

CaptureMark MarkCapture() {
    return {g_waveRing.GetWriteTotal(), g_waveRing.GetDroppedBytes()};
}

std::uint64_t CapturedBetween(const CaptureMark& from, const CaptureMark& to) {
    return static_cast<std::uint32_t>(to.written - from.written) + (to.dropped - from.dropped);
}

void SoundWatch::Begin() {
    m_last = MarkCapture();
    m_arrivedBytes = 0;
    m_gapSeconds.store(0, std::memory_order_relaxed);
}

bool SoundWatch::Look() {
    const CaptureMark now = MarkCapture();
    const std::uint64_t arrived = CapturedBetween(m_last, now);
    m_last = now;
    m_arrivedBytes += arrived;
    if (arrived == 0) {
        m_gapSeconds.fetch_add(1, std::memory_order_relaxed);
    }
    return arrived > 0;
}

std::uint32_t SoundWatch::GapSeconds() const {
    return m_gapSeconds.load(std::memory_order_relaxed);
}

} // namespace engine
