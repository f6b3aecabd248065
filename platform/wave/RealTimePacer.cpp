#include "platform/wave/RealTimePacer.h"

#include <thread>

RealTimePacer::RealTimePacer(std::uint32_t framesPerSecond)
    : m_framesPerSecond(framesPerSecond), m_start(std::chrono::steady_clock::now()) {}

void RealTimePacer::restart() {
    m_start = std::chrono::steady_clock::now();
    m_frames = 0;
}

void RealTimePacer::pace(std::uint64_t frames) {
    m_frames += frames;
    const auto dueUs = std::chrono::microseconds(m_frames * 1000000u / m_framesPerSecond);
    std::this_thread::sleep_until(m_start + dueUs);
}
