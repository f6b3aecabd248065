#pragma once
// Disc times (minutes, seconds, frames of 1/75 s) and sector addresses.

#include <cstdint>

namespace quarnel {

inline constexpr std::uint32_t kFramesPerSecond = 75;
inline constexpr std::uint32_t kPregapFrames = 150; // address 0 lies at 00:02:00
inline constexpr std::uint32_t kNoAddress = 0xFFFFFF;
// A track written track-at-once on a CD-R or CD-RW ends with 2 run-out blocks.
// The next track of the session begins after them with its 150-block pre-gap
// (index 0, silence), whose first blocks are the link block and the 4 run-in
// blocks; the drive writes the pre-gap itself, so the next writable address
// is the new track's index 1, 152 blocks after the end of the track before.
inline constexpr std::uint32_t kRunOutBlocks = 2;
inline constexpr std::uint32_t kTrackPregapBlocks = 150;
inline constexpr std::uint32_t kTrackGapBlocks = kRunOutBlocks + kTrackPregapBlocks;

struct Msf {
    std::uint8_t minutes = 0;
    std::uint8_t seconds = 0;
    std::uint8_t frames = 0;
};

// (M*60 + S)*75 + F - 150 below 90 minutes, - 450150 from 90 minutes on (the
// lead-in area of a disc carries negative addresses there). 00:00:00 gives 0
// and FF:FF:FF gives kNoAddress, the marker drives use for "none".
[[nodiscard]] std::uint32_t MsfToLba(Msf msf);
// The inverse for addresses on the disc's program area and lead-out.
[[nodiscard]] Msf LbaToMsf(std::uint32_t lba);

} // namespace quarnel
