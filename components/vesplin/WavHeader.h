#pragma once
// The 44-byte header of a PCM WAV file of 44,100 Hz, 16-bit stereo.

#include <array>
#include <cstdint>

namespace vesplin {

inline constexpr std::uint32_t kWavHeaderBytes = 44;

// The header of a file whose sound is `dataBytes` long (at most 4 GiB - 37).
std::array<std::uint8_t, kWavHeaderBytes> MakeWavHeader(std::uint32_t dataBytes);

} // namespace vesplin
