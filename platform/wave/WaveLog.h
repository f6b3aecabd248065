#pragma once
// The wave service's log lines (over-runs, lost devices, failed file writes),
// written to standard error from the service threads, never from inside the
// program's callback.

#include <string_view>

namespace platform::wave {

void LogWaveEvent(std::string_view device, std::string_view what);

} // namespace platform::wave
