#include "components/quarnel/emu/SteadyClock.h"

#include <thread>

namespace quarnel::emu {

Nanos SteadyClock::Now() const {
    return std::chrono::duration_cast<Nanos>(std::chrono::steady_clock::now().time_since_epoch());
}

void SteadyClock::SleepFor(Nanos duration) {
    if (duration > Nanos::zero()) {
        std::this_thread::sleep_for(duration);
    }
}

} // namespace quarnel::emu
