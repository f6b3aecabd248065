#pragma once
// The track list of the disc in a drive, read as the window reads it.

#include "components/quarnel/device/CDevCmdROM.h"
#include "disc/TrackAddressTable.h"
#include "disc/TrackRowsTable.h"
#include "tools/cli/DriveAccess.h"

#include <string_view>

namespace cli {

// A drive named by its letter and the tracks of its disc.
struct DiscTracks {
    quarnel::CDevCmdROM* device = nullptr;
    char letter = '?';
    disc::TrackRowsTable rows;
    disc::TrackAddressTable addresses;
};

// Finds the drive with `letter` and reads its disc's tracks into `tracks`.
// False, with a message on stderr, when there is no such drive or it is not
// ready.
bool ReadDiscTracks(const DriveAccess& access, std::string_view letter, DiscTracks& tracks);

} // namespace cli
