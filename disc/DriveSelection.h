#pragma once
// The drive selector's selection change: the entry's letter names the drive,
// whose disc is read into the track list (making it the current device) and
// which the play bar then plays from.

#include "components/quarnel/device/DevDeque.h"
#include "disc/TrackListReader.h"
#include "disc/TrackPlayer.h"

#include <string>

namespace disc {

// Does nothing for an empty entry (an empty selector). A letter no drive has
// gives a null device, which the reading and the play bar take as none.
void SelectDrive(const quarnel::DevDeque& drives, const std::string& entryText,
                 TrackListReader& reader, ITrackRows& rows, TrackPlayer& player);

} // namespace disc
