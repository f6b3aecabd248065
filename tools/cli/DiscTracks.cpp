#include "tools/cli/DiscTracks.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "disc/TrackListReader.h"

#include <cstdio>

namespace cli {

bool ReadDiscTracks(const DriveAccess& access, std::string_view letter, DiscTracks& tracks) {
    tracks.device = access.DriveOf(letter);
    if (tracks.device == nullptr) {
        return false;
    }
    tracks.letter = static_cast<char>('A' + tracks.device->GetDeviceID());
    if (const std::uint32_t result = tracks.device->TestUnitReady(); result != 0) {
        std::fprintf(stderr, "sondrel-cli: %c: not ready: %s\n", tracks.letter,
                     quarnel::status::Text(result).c_str());
        return false;
    }
    disc::TrackListReader(tracks.rows, tracks.addresses).ReadDisc(tracks.device);
    return true;
}

} // namespace cli
