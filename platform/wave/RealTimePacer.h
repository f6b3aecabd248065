#pragma once
// Paces a virtual device in real time: each call returns when the frames
// counted so far are due at the given rate, measured from the last restart.

#include <chrono>
#include <cstdint>

namespace platform::wave {

class RealTimePacer {
public:
    explicit RealTimePacer(std::uint32_t framesPerSecond);

    // Counting starts again from now (on start, and after a pause).
    void Restart();
    // Adds the frames and sleeps until the last of them is due.
    void Pace(std::uint64_t frames);

private:
    std::uint32_t m_framesPerSecond = 0;
    std::chrono::steady_clock::time_point m_start;
    std::uint64_t m_frames = 0;
};

} // namespace platform::wave
