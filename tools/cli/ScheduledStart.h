#pragma once
// A take of the command line that waits to start: until a time of day
// (--at), until the sound passes a level (--start-on-sound), or both. Says
// what it waits for (a note, not shown with --quiet or --json), then looks every few milliseconds,
// sleeping exactly up to the set time, so the take begins within a capture buffer of it.

#include "engine/session/TakeSchedule.h"
#include "tools/cli/LiveStatus.h"
#include "tools/cli/StopSignals.h"

#include <cstdint>
#include <optional>

namespace cli {

// The capture byte the take begins at; nullopt when a stop signal came first.
[[nodiscard]] std::optional<std::uint64_t>
WaitForScheduledStart(const engine::TakeSchedule& schedule, LevelMeter& meter,
                      const StopSignals& signals, LiveStatus& status);

} // namespace cli
