#include "engine/session/DiscTime.h"

#include "components/quarnel/mmc/Msf.h"

namespace engine {

std::uint32_t DiscTimeToAddress(std::uint8_t a, std::uint8_t m, std::uint8_t s, std::uint8_t f) {
    constexpr std::uint8_t kNone = 0xFF;
    if (m == kNone && s == kNone && f == kNone) {
        return quarnel::kNoAddress;
    }
    if (a > 0) {
        constexpr std::uint32_t kSecondsPerMinute = 60;
        constexpr std::uint32_t kMinutesPerBlock = 90;
        constexpr std::uint32_t kPregapSeconds = 2;
        return ((std::uint32_t{a} * kMinutesPerBlock + m) * kSecondsPerMinute + s -
                kPregapSeconds) *
                   quarnel::kFramesPerSecond +
               f;
    }
    return quarnel::MsfToLba({m, s, f});
}

} // namespace engine
