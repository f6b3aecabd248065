#include "platform/wave/RealTimePacer.h"

#include <thread>

namespace platform::wave {

RealTimePacer::RealTimePacer(std::uint32_t framesPerSecond)
    : m_framesPerSecond(framesPerSecond), m_start(std::chrono::steady_clock::now()) {}

void RealTimePacer::Restart() {
    m_start = std::chrono::steady_clock::now();
    m_frames = 0;
}

void RealTimePacer::Pace(std::uint64_t frames) {
    m_frames += frames;
    const auto dueUs = std::chrono::microseconds(m_frames * 1000000u / m_framesPerSecond);
    std::this_thread::sleep_until(m_start + dueUs);
}

} // namespace platform::wave
