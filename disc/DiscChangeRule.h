#pragma once
// What the window does with a device-change broadcast: the disc of the
// current drive is read again only while "To CD" is chosen and nothing is
// being recorded, for a disc that arrived (after a wait, so that the drive
// has settled) or left.

#include "components/quarnel/device/CDevCmdROM.h"
#include "platform/devchange/DeviceBroadcast.h"

namespace disc {

enum class DiscChangeAction { Ignore, ReadDisc, ReadDiscAfterWait };

inline constexpr int kArrivalWaitMs = 2000;

[[nodiscard]] DiscChangeAction OnDeviceChange(const devchange::DeviceBroadcast& broadcast,
                                              bool toCdChosen, bool recording,
                                              const quarnel::CDevCmdROM* currentDevice);

} // namespace disc
