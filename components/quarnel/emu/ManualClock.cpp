#include "components/quarnel/emu/ManualClock.h"

namespace quarnel::emu {

Nanos ManualClock::Now() const {
    return Nanos{m_nowNs.load(std::memory_order_relaxed)};
}

void ManualClock::SleepFor(Nanos duration) {
    Advance(duration);
}

void ManualClock::Advance(Nanos duration) {
    if (duration > Nanos::zero()) {
        m_nowNs.fetch_add(duration.count(), std::memory_order_relaxed);
    }
}

} // namespace quarnel::emu
