#include "components/oskary/LatestSamples.h"

#include <algorithm>

namespace {

constexpr std::size_t kFrameBytes = 4;

std::int16_t Sample(const std::uint8_t* at) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
}

} // namespace

LatestSamples::LatestSamples(std::size_t frames) : m_frames(std::max<std::size_t>(frames, 1)) {}

void LatestSamples::Resize(std::size_t frames) {
    const std::lock_guard guard(m_lock);
    m_frames.assign(std::max<std::size_t>(frames, 1), StereoFrame{});
    m_next = 0;
    ++m_sequence;
}

std::size_t LatestSamples::Size() const {
    const std::lock_guard guard(m_lock);
    return m_frames.size();
}

void LatestSamples::Publish(const std::uint8_t* pcm, std::size_t bytes) {
    const std::size_t total = bytes / kFrameBytes;
    const std::lock_guard guard(m_lock);
    // Only the newest frames can stay in the window.
    const std::size_t kept = std::min(total, m_frames.size());
    const std::uint8_t* frame = pcm + (total - kept) * kFrameBytes;
    for (std::size_t i = 0; i < kept; ++i, frame += kFrameBytes) {
        m_frames[m_next] = StereoFrame{Sample(frame), Sample(frame + 2)};
        m_next = (m_next + 1) % m_frames.size();
    }
    ++m_sequence;
}

bool LatestSamples::CopyIfNewer(std::uint64_t& seen, std::vector<StereoFrame>& out) const {
    const std::lock_guard guard(m_lock);
    if (m_sequence == seen) {
        return false;
    }
    out.resize(m_frames.size());
    const auto oldest = m_frames.begin() + static_cast<std::ptrdiff_t>(m_next);
    std::copy(m_frames.begin(), oldest, std::copy(oldest, m_frames.end(), out.begin()));
    seen = m_sequence;
    return true;
}
