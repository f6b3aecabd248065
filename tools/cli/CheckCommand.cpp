#include "tools/cli/CheckCommand.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "tools/cli/DriveAccess.h"

#include <cstdio>
#include <vector>

namespace cli {

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli check LETTER\n");
    return 2;
}

void Report(const char* what, std::uint32_t status) {
    std::printf("%s: %s\n", what, quarnel::status::Text(status).c_str());
}

int RunCheck(std::span<const std::string_view> args) {
    if (args.size() != 1) {
        return Usage();
    }
    const DriveAccess access;
    quarnel::CDevCmdROM* device = access.DriveOf(args[0]);
    if (device == nullptr) {
        return 1;
    }
    std::printf("%c: %s\n", 'A' + device->GetDeviceID(), device->GetDeviceName().c_str());
    Report("ready", device->TestUnitReady());
    std::vector<unsigned char> sector(quarnel::CDevCmdROM::kAudioSectorBytes);
    Report("read sector 0 as audio",
           device->ReadCD_All(sector.data(), static_cast<long>(sector.size()), 1, 0));
    const std::uint32_t exclusive = device->LockVolumn(true);
    Report("open for this program alone", exclusive);
    Report("lock the tray", device->Lock(true));
    Report("open the locked tray", device->Eject(true));
    Report("unlock the tray", device->Lock(false));
    Report("open the tray", device->Eject(true));
    Report("close the tray", device->Eject(false));
    if (exclusive == quarnel::status::kOk) {
        device->LockVolumn(false);
    }
    return 0;
}

} // namespace

const CliCommand kCheckCommand{
    "check", "LETTER",
    "tries the drive's readiness, reading a sector as audio, opening it for this program "
    "alone, locking, opening and closing the tray, and prints the drive's answer to each",
    RunCheck};

} // namespace cli
