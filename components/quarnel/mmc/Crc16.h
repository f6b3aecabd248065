#pragma once
// CRC-16 of CD-Text packs and sub-channel Q: polynomial 0x1021, initial value
// 0, stored inverted in the two bytes after the data.

#include <cstdint>
#include <span>

namespace quarnel {

[[nodiscard]] std::uint16_t Crc16Ccitt(std::span<const std::uint8_t> bytes);

} // namespace quarnel
