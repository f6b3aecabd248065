#include "tools/cli/DiscCommand.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/emu/Medium.h"
#include "tools/cli/DiscInfo.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/StatusText.h"

#include <cstdio>
#include <string>

namespace cli {

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli disc load LETTER [--blank "
                         "cd-r|cd-rw|dvd-rw|dvd+rw|dvd-ram | --image FILE.cue]\n"
                         "       sondrel-cli disc eject LETTER\n"
                         "       sondrel-cli disc info LETTER\n");
    return 2;
}

int Failed(const quarnel::CDevCmdROM& device, const char* what, const std::string& why) {
    std::fprintf(stderr, "sondrel-cli: %c: %s: %s\n", 'A' + device.GetDeviceID(), what,
                 why.c_str());
    return 1;
}

int PrintMedium(quarnel::CDevCmdROM& device, const char* what) {
    std::printf("%c: %s - %s\n", 'A' + device.GetDeviceID(), what,
                MediumName(device.GetMediumType()).c_str());
    return 0;
}

int LoadBlank(const DriveAccess& access, quarnel::CDevCmdROM& device, std::string_view name) {
    const auto kind = quarnel::emu::MediumKindFromName(name);
    if (!kind || !quarnel::emu::TraitsOf(*kind).writable) {
        std::fprintf(stderr, "sondrel-cli: no blank medium \"%.*s\"\n",
                     static_cast<int>(name.size()), name.data());
        return Usage();
    }
    quarnel::emu::EmulatedDrive* drive = access.EmulatedOf(device);
    if (drive == nullptr) {
        return 1;
    }
    if (!drive->LoadBlank(*kind)) {
        return Failed(device, "cannot change the disc",
                      drive->InUseElsewhere()
                          ? "another program is writing or erasing with the drive"
                          : "the tray is locked, or its files cannot be written");
    }
    return PrintMedium(device, "blank disc loaded");
}

int LoadImage(const DriveAccess& access, quarnel::CDevCmdROM& device, std::string_view cue) {
    quarnel::emu::EmulatedDrive* drive = access.EmulatedOf(device);
    if (drive == nullptr) {
        return 1;
    }
    std::string error;
    if (!drive->LoadImage(std::filesystem::path(cue), &error)) {
        return Failed(device, "cannot load the image", error);
    }
    return PrintMedium(device, "pressed disc loaded");
}

int Load(const DriveAccess& access, quarnel::CDevCmdROM& device,
         std::span<const std::string_view> options) {
    if (options.empty()) {
        if (const std::uint32_t result = device.Eject(false); result != 0) {
            return Failed(device, "cannot close the tray", quarnel::status::Text(result));
        }
        return PrintMedium(device, "tray closed");
    }
    if (options.size() == 2 && options[0] == "--blank") {
        return LoadBlank(access, device, options[1]);
    }
    if (options.size() == 2 && options[0] == "--image") {
        return LoadImage(access, device, options[1]);
    }
    return Usage();
}

int RunDisc(std::span<const std::string_view> args) {
    if (args.size() < 2) {
        return Usage();
    }
    const std::string_view action = args[0];
    const bool known = action == "load" || action == "eject" || action == "info";
    if (!known || (action != "load" && args.size() != 2)) {
        return Usage();
    }
    const DriveAccess access;
    quarnel::CDevCmdROM* device = access.DriveOf(args[1]);
    if (device == nullptr) {
        return 1;
    }
    if (action == "load") {
        return Load(access, *device, args.subspan(2));
    }
    if (action == "eject") {
        if (const std::uint32_t result = device->Eject(true); result != 0) {
            return Failed(*device, "cannot open the tray", quarnel::status::Text(result));
        }
        std::printf("%c: tray open\n", 'A' + device->GetDeviceID());
        return 0;
    }
    return PrintDiscInfo(*device);
}

} // namespace

const CliCommand kDiscCommand{
    "disc", "load|eject|info LETTER [--blank KIND | --image FILE.cue]",
    "load LETTER alone closes the tray on the disc the drive holds; --blank (cd-r, cd-rw, "
    "dvd-rw, dvd+rw, dvd-ram) and --image (a pressed CD from a CUE sheet) put a disc into an "
    "emulated drive only: a real drive has no such command, its discs go in by hand. eject "
    "opens the tray; info shows medium, disc status, sessions, tracks, next writable address "
    "and free sectors",
    RunDisc};

} // namespace cli
