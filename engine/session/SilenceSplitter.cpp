#include "engine/session/SilenceSplitter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace engine {

namespace {

constexpr double kFullScale = 32768.0;
constexpr double kFramesPerSecond = 44100.0;

} // namespace

SilenceSplitter::SilenceSplitter(const SplitSettings& settings, std::uint32_t boundaryStepFrames)
    : m_threshold(static_cast<std::int32_t>(
          std::ceil(kFullScale * std::pow(10.0, settings.silenceDb / 20.0)))),
      m_silenceFrames(static_cast<std::uint64_t>(settings.silenceSeconds * kFramesPerSecond)),
      m_minTrackFrames(static_cast<std::uint64_t>(settings.minTrackSeconds * kFramesPerSecond)),
      m_step(std::max<std::uint32_t>(boundaryStepFrames, 1)) {}

std::optional<std::size_t> SilenceSplitter::Feed(const std::int16_t* samples, std::size_t frames) {
    const std::uint64_t blockStart = m_trackFrames;
    for (std::size_t frame = 0; frame < frames; ++frame, ++m_trackFrames) {
        const int left = std::abs(int{samples[2 * frame]});
        const int right = std::abs(int{samples[2 * frame + 1]});
        if (std::max(left, right) < m_threshold) {
            ++m_silentRun;
            continue;
        }
        const bool longSilence = m_silentRun >= m_silenceFrames;
        m_silentRun = 0;
        if (!longSilence) {
            continue;
        }
        // Both candidates lie inside the silence: the step is far shorter
        // than the silence, and the block began after the silence did or
        // inside it.
        const std::uint64_t boundary = std::max(m_trackFrames / m_step * m_step, blockStart);
        if (boundary < m_minTrackFrames) {
            continue;
        }
        m_trackFrames = 0;
        return static_cast<std::size_t>(boundary - blockStart);
    }
    return std::nullopt;
}

} // namespace engine
