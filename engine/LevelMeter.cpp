#include "engine/LevelMeter.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t kFrameBytes = 4;

std::uint32_t Magnitude(const std::uint8_t* at) {
    const auto sample = static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
    return static_cast<std::uint32_t>(std::abs(static_cast<int>(sample)));
}

} // namespace

void LevelMeter::Add(std::span<const std::uint8_t> pcm, std::uint64_t position) {
    const std::size_t frames = pcm.size() / kFrameBytes;
    std::array<std::uint32_t, 2> peak{};
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const std::uint8_t* at = pcm.data() + frame * kFrameBytes;
        peak[0] = std::max(peak[0], Magnitude(at));
        peak[1] = std::max(peak[1], Magnitude(at + 2));
    }
    for (std::size_t channel = 0; channel < 2; ++channel) {
        m_heldAge[channel] += frames;
        const std::uint32_t held = m_held[channel].load(std::memory_order_relaxed);
        if (peak[channel] >= held || m_heldAge[channel] > kHoldFrames) {
            m_held[channel].store(peak[channel], std::memory_order_relaxed);
            m_heldAge[channel] = 0;
        }
        m_peak[channel].store(peak[channel], std::memory_order_relaxed);
    }
    // Acquire: the start of the search was stored before the level.
    const std::uint32_t level = m_triggerMagnitude.load(std::memory_order_acquire);
    if (level == 0 || std::max(peak[0], peak[1]) < level ||
        m_triggerPosition.load(std::memory_order_relaxed) != kNotFound) {
        return;
    }
    const std::uint64_t from = m_triggerFrom.load(std::memory_order_relaxed);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const std::uint64_t at = position + frame * kFrameBytes;
        const std::uint8_t* bytes = pcm.data() + frame * kFrameBytes;
        if (at >= from && std::max(Magnitude(bytes), Magnitude(bytes + 2)) >= level) {
            m_triggerPosition.store(at, std::memory_order_release);
            return;
        }
    }
}

LevelReading LevelMeter::Reading() const {
    LevelReading reading;
    for (std::size_t channel = 0; channel < 2; ++channel) {
        reading.peak[channel] = m_peak[channel].load(std::memory_order_relaxed);
        reading.held[channel] = m_held[channel].load(std::memory_order_relaxed);
    }
    return reading;
}

void LevelMeter::ArmTrigger(std::uint32_t magnitude, std::uint64_t from) {
    m_triggerPosition.store(kNotFound, std::memory_order_relaxed);
    m_triggerFrom.store(from, std::memory_order_relaxed);
    // Release: the display thread that sees the level sees where to look from.
    m_triggerMagnitude.store(std::clamp<std::uint32_t>(magnitude, 1, kFullScale),
                             std::memory_order_release);
}

void LevelMeter::DisarmTrigger() {
    m_triggerMagnitude.store(0, std::memory_order_release);
}

std::uint64_t LevelMeter::TriggerPosition() const {
    return m_triggerPosition.load(std::memory_order_acquire);
}

std::uint32_t MagnitudeOfDbfs(double dbfs) {
    const double magnitude = std::ceil(LevelMeter::kFullScale * std::pow(10.0, dbfs / 20.0));
    return static_cast<std::uint32_t>(std::clamp(magnitude, 1.0, double{LevelMeter::kFullScale}));
}

std::string FormatDbfs(std::uint32_t magnitude) {
    if (magnitude == 0) {
        return "-inf";
    }
    std::array<char, 16> text{};
    const double dbfs = 20.0 * std::log10(static_cast<double>(magnitude) / LevelMeter::kFullScale);
    std::snprintf(text.data(), text.size(), "%.1f", dbfs);
    return text.data();
}
