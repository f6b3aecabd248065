#pragma once
// The capabilities mode page (2Ah) of an emulated drive.

#include "components/quarnel/emu/DriveSettings.h"

#include <array>
#include <cstdint>

namespace quarnel::emu {

// Up to byte 31, then one write speed descriptor: the top speed.
inline constexpr std::size_t kCapabilitiesPageBytes = 0x1E + 2 + 4;
// 1x CD in the kB/s (1,000 bytes) that speed fields count.
inline constexpr std::uint32_t kCdSpeed1xKBps = 176;

[[nodiscard]] std::array<std::uint8_t, kCapabilitiesPageBytes>
BuildCapabilitiesPage(const DriveSettings& settings, std::uint32_t currentWriteSpeedX, bool locked);
// A speed as written into the page: kB/s, saturated; 0 (unlimited) shows as 52x.
[[nodiscard]] std::uint16_t SpeedKBps(std::uint32_t speedX);

} // namespace quarnel::emu
