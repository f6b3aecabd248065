#include "engine/session/ReadoutText.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace engine {

std::string FormatTime(std::int32_t sectors) {
    constexpr std::int64_t kPregapSectors = 150;
    constexpr std::int64_t kSectorsPerBlock = 405000; // 90 minutes
    constexpr std::int64_t kSectorsPerMinute = 4500;
    constexpr std::int64_t kSectorsPerSecond = 75;
    const std::int64_t x = std::int64_t{sectors} + kPregapSectors;
    const std::int64_t a = x / kSectorsPerBlock;
    const std::int64_t b = (x - a * kSectorsPerBlock) / kSectorsPerMinute;
    const std::int64_t c = (x - (a * 90 + b) * kSectorsPerMinute) / kSectorsPerSecond;
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "Time: %02lld:%02lld:%02lld", static_cast<long long>(a),
                  static_cast<long long>(b), static_cast<long long>(c));
    return text.data();
}

std::string FormatTime(std::int32_t sectors, std::uint32_t track) {
    // "Time: " gives way to the track, so that the text fits where the
    // window shows the time.
    constexpr std::size_t kTimeWordLength = 6;
    return "Track " + std::to_string(track) + " " + FormatTime(sectors).substr(kTimeWordLength);
}

std::string FormatLength(std::uint32_t kib) {
    return "Length: " + std::to_string(static_cast<std::int32_t>(kib)) + "K";
}

int CapacityPercent(std::uint32_t total, std::uint32_t free) {
    if (total == 0) {
        return -1;
    }
    constexpr std::uint64_t kPercent = 100;
    // Unsigned 32-bit like the counters themselves: a free count beyond the
    // total (it wraps on the last write of a full disc) shows a full bar.
    const std::uint32_t used = total - free;
    return static_cast<int>(
        std::min<std::uint64_t>(std::uint64_t{used} * kPercent / total, kPercent));
}

} // namespace engine
