#pragma once
// Time as the emulated writer sees it. The drive asks its clock for the time
// when it models the buffer draining or a blank running, and sleeps on it
// where a real drive would hold a command. Tests give it a manual clock.

#include <chrono>

namespace quarnel::emu {

using Nanos = std::chrono::nanoseconds;

class Clock {
public:
    Clock() = default;
    Clock(const Clock&) = delete;
    Clock& operator=(const Clock&) = delete;
    virtual ~Clock() = default;

    // Time since an arbitrary fixed start; never goes back.
    [[nodiscard]] virtual Nanos Now() const = 0;
    virtual void SleepFor(Nanos duration) = 0;
};

} // namespace quarnel::emu
