#pragma once
// The sub-channel a drive reads beside each block: the Q channel's position
// (track, index, times) as READ CD and READ SUB-CHANNEL give it, and the raw
// P-W bytes of a block, built from the disc state.

#include "components/quarnel/emu/DiscState.h"

#include <array>
#include <cstdint>

namespace quarnel::emu {

inline constexpr std::size_t kFormattedQBytes = 16;
inline constexpr std::size_t kRawSubChannelBytes = 96;

struct QPosition {
    std::uint8_t control = 0;
    std::uint8_t track = 0;           // 0xAA in the lead-out
    std::uint8_t index = 1;           // 0 in the pause before a track
    std::uint32_t relativeBlocks = 0; // from the track start, or to it in the pause
    std::uint32_t lba = 0;
};

// Where `lba` lies: in a track, the pause before one, or the lead-out.
[[nodiscard]] QPosition PositionOf(const DiscState& state, std::uint32_t lba);
// ADR 1 Q data (times in BCD), its inverted CRC, four bytes of padding.
[[nodiscard]] std::array<std::uint8_t, kFormattedQBytes> BuildFormattedQ(const QPosition& at);
// 96 bytes, one per sub-channel symbol: bit 7 P (set in pauses), bit 6 the Q
// bits of BuildFormattedQ's first 12 bytes in order, R-W zero.
[[nodiscard]] std::array<std::uint8_t, kRawSubChannelBytes> BuildRawSubChannel(const QPosition& at);

} // namespace quarnel::emu
