#include "platform/wave/ToneSource.h"

#include "platform/wave/PcmFormat.h"

#include <cmath>
#include <numbers>

namespace platform::wave {

OpenedSource ToneSource::Open(const WAVEFORMATEX& format) {
    if (!IsSameFormat(format, CdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new ToneSource(format))};
}

std::int16_t ToneSource::Sample(std::uint64_t frame, unsigned channel) {
    constexpr std::uint64_t kRate = 44100;
    constexpr double kAmplitude = 16384.0;
    const std::uint64_t hz = channel == 0 ? kLeftHz : kRightHz;
    // The phase is reduced in integers first so it stays exact for long runs.
    const double phase = static_cast<double>((hz * frame) % kRate) / static_cast<double>(kRate);
    return static_cast<std::int16_t>(
        std::lround(kAmplitude * std::sin(2.0 * std::numbers::pi * phase)));
}

void ToneSource::Start() {
    m_frame = 0;
    PacedCaptureSource::Start();
}

bool ToneSource::Fill(std::span<char> out) {
    for (std::size_t at = 0; at + 4 <= out.size(); at += 4) {
        for (unsigned channel = 0; channel < 2; ++channel) {
            const auto value = static_cast<std::uint16_t>(Sample(m_frame, channel));
            out[at + 2 * channel] = static_cast<char>(value & 0xFFu);
            out[at + 2 * channel + 1] = static_cast<char>(value >> 8);
        }
        ++m_frame;
    }
    return true;
}

} // namespace platform::wave
