#pragma once
// A clock that only moves when told to: sleeping on it advances it at once.
// Lets tests drive the buffer and the blanking time step by step.

#include "components/quarnel/emu/Clock.h"

#include <atomic>

namespace quarnel::emu {

class ManualClock final : public Clock {
public:
    [[nodiscard]] Nanos Now() const override;
    void SleepFor(Nanos duration) override;
    void Advance(Nanos duration);

private:
    // Relaxed is enough: the clock carries no other data with it.
    std::atomic<Nanos::rep> m_nowNs{0};
};

} // namespace quarnel::emu
