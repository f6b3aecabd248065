#include "platform/wave/PacedPlaybackSink.h"

#include <algorithm>

namespace platform::wave {

PacedPlaybackSink::PacedPlaybackSink(const WAVEFORMATEX& format)
    : m_format(format), m_pacer(format.nSamplesPerSec) {}

PlaybackWrite PacedPlaybackSink::Write(std::span<const char> bytes) {
    if (!m_started) {
        m_pacer.Restart();
        m_started = true;
    }
    const std::size_t frames = std::min(bytes.size() / m_format.nBlockAlign, kSliceFrames);
    const std::size_t taken = frames * m_format.nBlockAlign;
    m_pacer.Pace(frames);
    Consume(bytes.first(taken));
    m_framesPlayed += frames;
    return {false, taken};
}

void PacedPlaybackSink::Resume() {
    m_pacer.Restart();
}

} // namespace platform::wave
