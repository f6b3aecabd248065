#pragma once
// The track list of the disc in a drive, read as the window reads it.

#include "components/quarnel/device/CDevCmdROM.h"
#include "disc/TrackAddressTable.h"
#include "disc/TrackRowsTable.h"

namespace cli {

// False, with a message on stderr, when the drive is not ready.
bool ReadDiscTracks(quarnel::CDevCmdROM& device, disc::TrackRowsTable& rows,
                    disc::TrackAddressTable& addresses);

} // namespace cli
