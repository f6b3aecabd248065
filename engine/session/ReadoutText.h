#pragma once
// The texts of a take's read-outs.

#include <cstdint>
#include <string>

namespace engine {

// "Time: AA:MM:SS" for a length in CD sectors (n >= 0): AA counts blocks of
// 90 minutes, MM runs from 0 to 89, and the time is 2 seconds ahead of the
// length (the 150-sector offset of disc addresses): 75 sectors show
// 00:00:03, 4,350 show 00:01:00, 404,850 show 01:00:00.
[[nodiscard]] std::string FormatTime(std::int32_t sectors);
// The time of a take split on silence, after the track it is writing (in
// place of "Time:", so that it fits the window's read-out): "Track 3 00:01:00".
[[nodiscard]] std::string FormatTime(std::int32_t sectors, std::uint32_t track);

// "Length: NK" for a length in KiB.
[[nodiscard]] std::string FormatLength(std::uint32_t kib);

// The capacity bar's position: the used share of `total` in percent; -1 when
// total is 0 (nothing known, the bar is left as it is).
[[nodiscard]] int CapacityPercent(std::uint32_t total, std::uint32_t free);

} // namespace engine
