#pragma once
// A device-change broadcast as the window receives it: the event code and
// the header of a volume (the drive letters it concerns as a bit mask, bit 0
// = A).

#include <cstdint>

namespace devchange {

inline constexpr std::uint32_t DBT_DEVICEARRIVAL = 0x8000;
inline constexpr std::uint32_t DBT_DEVICEREMOVECOMPLETE = 0x8004;
inline constexpr std::uint32_t DBT_DEVTYP_VOLUME = 2;

struct DeviceBroadcast {
    std::uint32_t eventCode = 0;
    std::uint32_t deviceType = DBT_DEVTYP_VOLUME;
    std::uint32_t unitMask = 0;
};

// The broadcast for a disc that arrived in (or left) the drive with ID
// `deviceId` (0 = A); no bits for an ID outside 0..25.
[[nodiscard]] inline DeviceBroadcast VolumeBroadcast(bool arrived, int deviceId) {
    DeviceBroadcast broadcast;
    broadcast.eventCode = arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    broadcast.unitMask = deviceId >= 0 && deviceId < 26 ? 1U << deviceId : 0U;
    return broadcast;
}

} // namespace devchange
