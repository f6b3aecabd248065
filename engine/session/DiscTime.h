#pragma once
// Disc addresses from the four-byte disc times of the disc information
// (a, minutes, seconds, frames; a counts blocks of 90 minutes).

#include <cstdint>

namespace engine {

// FF:FF:FF (any a) gives 0xFFFFFF; a > 0 gives ((a*90 + m)*60 + s - 2)*75 + f;
// otherwise the plain disc time conversion: 00:00:00 is 0, below 90 minutes
// the 150-sector pregap is taken off, from 90 minutes on 450,150.
[[nodiscard]] std::uint32_t DiscTimeToAddress(std::uint8_t a, std::uint8_t m, std::uint8_t s,
                                              std::uint8_t f);

} // namespace engine
