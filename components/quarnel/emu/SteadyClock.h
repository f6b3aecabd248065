#pragma once
// The monotonic system clock.

#include "components/quarnel/emu/Clock.h"

namespace quarnel::emu {

class SteadyClock final : public Clock {
public:
    [[nodiscard]] Nanos Now() const override;
    void SleepFor(Nanos duration) override;
};

} // namespace quarnel::emu
