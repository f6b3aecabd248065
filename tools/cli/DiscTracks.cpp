#include "tools/cli/DiscTracks.h"

#include "disc/TrackListReader.h"
#include "tools/cli/StatusText.h"

#include <cstdio>

namespace cli {

bool ReadDiscTracks(quarnel::CDevCmdROM& device, disc::TrackRowsTable& rows,
                    disc::TrackAddressTable& addresses) {
    if (const std::uint32_t result = device.TestUnitReady(); result != 0) {
        std::fprintf(stderr, "sondrel-cli: %c: not ready: %s\n", 'A' + device.GetDeviceID(),
                     StatusText(result).c_str());
        return false;
    }
    disc::TrackListReader(rows, addresses).ReadDisc(&device);
    return true;
}

} // namespace cli
