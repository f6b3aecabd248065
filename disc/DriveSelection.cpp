#include "disc/DriveSelection.h"

#include "disc/DriveList.h"

namespace disc {

void SelectDrive(const quarnel::DevDeque& drives, const std::string& entryText,
                 TrackListReader& reader, ITrackRows& rows, TrackPlayer& player) {
    if (entryText.empty()) {
        return;
    }
    quarnel::CDevCmdROM* device = DriveOfEntry(drives, entryText);
    reader.ReadDisc(device);
    player.SetDevice(reader.CurrentDevice(), &rows);
}

} // namespace disc
