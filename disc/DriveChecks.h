#pragma once
// Whether a drive holds a disc and is idle, and whether it can write.

#include "components/quarnel/device/CDevCmdROM.h"

namespace disc {

// False for a null device; otherwise true exactly when TEST UNIT READY succeeds.
bool IsReady(quarnel::CDevCmdROM* device);

// True when the capabilities page offers CD-R, CD-RW, DVD-R or DVD-RAM
// writing, or cannot be read. Otherwise shows message 16 (no recordable
// device) with the information icon and returns false; also false for a null
// device, without a message.
bool IsWriter(quarnel::CDevCmdROM* device);

} // namespace disc
