#include "platform/wave/MarkedSource.h"

#include "platform/wave/PcmFormat.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace platform::wave {

std::optional<MarkedGaps> MarkedSource::ParseGaps(std::string_view text) {
    if (text.empty()) {
        return MarkedGaps{};
    }
    constexpr double kFramesPerSecond = 44100.0;
    constexpr double kLongestSeconds = 3600.0;
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) {
        return std::nullopt;
    }
    std::array<double, 2> seconds{};
    const std::array<std::string_view, 2> parts{text.substr(0, comma), text.substr(comma + 1)};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const char* end = parts[i].data() + parts[i].size();
        const auto [ptr, error] = std::from_chars(parts[i].data(), end, seconds[i]);
        if (error != std::errc() || ptr != end || !(seconds[i] > 0) ||
            seconds[i] > kLongestSeconds) {
            return std::nullopt;
        }
    }
    return MarkedGaps{static_cast<std::uint32_t>(std::max(1.0, seconds[0] * kFramesPerSecond)),
                      static_cast<std::uint32_t>(std::max(1.0, seconds[1] * kFramesPerSecond))};
}

OpenedSource MarkedSource::Open(const WAVEFORMATEX& format, std::string_view gaps) {
    const std::optional<MarkedGaps> parsed = ParseGaps(gaps);
    if (!parsed) {
        return {MMSYSERR_INVALPARAM, nullptr};
    }
    if (!IsSameFormat(format, CdAudioFormat())) {
        return {WAVERR_BADFORMAT, nullptr};
    }
    return {MMSYSERR_NOERROR, std::unique_ptr<CaptureSource>(new MarkedSource(format, *parsed))};
}

void MarkedSource::Start() {
    m_frame = 0;
    PacedCaptureSource::Start();
}

bool MarkedSource::Fill(std::span<char> out) {
    const std::uint64_t period = std::uint64_t{m_gaps.soundFrames} + m_gaps.gapFrames;
    for (std::size_t at = 0; at + 4 <= out.size(); at += 4, ++m_frame) {
        const bool gap = m_gaps.gapFrames > 0 && m_frame % period >= m_gaps.soundFrames;
        for (std::size_t byte = 0; byte < 4; ++byte) {
            out[at + byte] = gap ? char{0} : static_cast<char>((m_frame >> (8 * byte)) & 0xFFu);
        }
    }
    return true;
}

} // namespace platform::wave
