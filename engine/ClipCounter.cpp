#include "engine/ClipCounter.h"

namespace {

bool IsFullScale(std::uint8_t low, std::uint8_t high) {
    const auto sample = static_cast<std::uint16_t>(low | (high << 8));
    return sample == 0x7FFF || sample == 0x8000;
}

} // namespace

void ClipCounter::Count(std::span<const std::uint8_t> pcm) {
    std::uint64_t clips = 0;
    std::size_t at = 0;
    if (m_haveLowByte && !pcm.empty()) {
        clips += IsFullScale(m_lowByte, pcm[0]) ? 1 : 0;
        m_haveLowByte = false;
        at = 1;
    }
    for (; at + 1 < pcm.size(); at += 2) {
        clips += IsFullScale(pcm[at], pcm[at + 1]) ? 1 : 0;
    }
    if (at < pcm.size()) {
        m_lowByte = pcm[at];
        m_haveLowByte = true;
    }
    if (clips > 0) {
        m_total.fetch_add(clips, std::memory_order_relaxed);
    }
}

void ClipCounter::Reset() {
    m_total.store(0, std::memory_order_relaxed);
    m_haveLowByte = false;
}

std::uint64_t ClipCounter::Total() const {
    return m_total.load(std::memory_order_relaxed);
}
