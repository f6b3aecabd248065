#include "platform/wave/PacedCaptureSource.h"

#include <algorithm>

namespace platform::wave {

PacedCaptureSource::PacedCaptureSource(const WAVEFORMATEX& format)
    : m_format(format), m_pacer(format.nSamplesPerSec) {}

void PacedCaptureSource::Start() {
    m_pacer.Restart();
}

CaptureRead PacedCaptureSource::Read(std::span<char> out) {
    const std::size_t frames = std::min(out.size() / m_format.nBlockAlign, kSliceFrames);
    const std::size_t bytes = frames * m_format.nBlockAlign;
    m_pacer.Pace(frames);
    if (!Fill(out.first(bytes))) {
        return {CaptureStatus::Gone, 0};
    }
    return {CaptureStatus::Ok, bytes};
}

} // namespace platform::wave
