#pragma once
// What sondrel-cli disc info prints about the disc in a drive.

#include "components/quarnel/device/CDevCmdROM.h"

namespace cli {

// Prints medium, disc status, sessions, tracks, next writable address and
// free sectors; returns the exit status (1 when some of it could not be read).
int PrintDiscInfo(quarnel::CDevCmdROM& device);

} // namespace cli
