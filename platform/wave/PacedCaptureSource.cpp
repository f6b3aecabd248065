#include "platform/wave/PacedCaptureSource.h"

#include <algorithm>

PacedCaptureSource::PacedCaptureSource(const WAVEFORMATEX& format)
    : m_format(format), m_pacer(format.nSamplesPerSec) {}

void PacedCaptureSource::start() {
    m_pacer.restart();
}

CaptureRead PacedCaptureSource::read(std::span<char> out) {
    const std::size_t frames = std::min(out.size() / m_format.nBlockAlign, kSliceFrames);
    const std::size_t bytes = frames * m_format.nBlockAlign;
    m_pacer.pace(frames);
    if (!fill(out.first(bytes))) {
        return {CaptureStatus::Gone, 0};
    }
    return {CaptureStatus::Ok, bytes};
}
