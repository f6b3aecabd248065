#include "platform/wave/WaveLog.h"

#include <cstdio>

namespace platform::wave {

void LogWaveEvent(std::string_view device, std::string_view what) {
    std::fprintf(stderr, "sondrel wave %.*s: %.*s\n", static_cast<int>(device.size()),
                 device.data(), static_cast<int>(what.size()), what.data());
}

} // namespace platform::wave
