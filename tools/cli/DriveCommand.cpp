#include "tools/cli/DriveCommand.h"

#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "disc/DriveList.h"
#include "tools/cli/DriveAccess.h"

#include <charconv>
#include <cstdio>
#include <string>

namespace cli {

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli drive create NAME [--speed N|max]\n");
    return 2;
}

// "max" is a drive without a speed limit (0); otherwise 1 to 52.
bool ParseSpeed(std::string_view text, std::uint32_t& speedX) {
    if (text == "max") {
        speedX = 0;
        return true;
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), speedX);
    return error == std::errc{} && end == text.data() + text.size() && speedX >= 1 &&
           speedX <= quarnel::emu::kMaxWriteSpeedX;
}

int RunDrive(std::span<const std::string_view> args) {
    if (args.size() != 2 && args.size() != 4) {
        return Usage();
    }
    if (args[0] != "create" || (args.size() == 4 && args[2] != "--speed")) {
        return Usage();
    }
    std::uint32_t speedX = quarnel::emu::DriveSettings{}.writeSpeedX;
    if (args.size() == 4 && !ParseSpeed(args[3], speedX)) {
        std::fprintf(stderr, "sondrel-cli: speeds run from 1 to %u, or max for no limit\n",
                     quarnel::emu::kMaxWriteSpeedX);
        return 2;
    }
    const auto parent = quarnel::EmulatedDriveProvider::ParentFromEnvironment();
    if (!parent) {
        std::fprintf(stderr, "sondrel-cli: emulated drives are switched off (SONDREL_DRIVES=%s)\n",
                     quarnel::EmulatedDriveProvider::kNoDrives);
        return 1;
    }
    std::string error;
    const std::filesystem::path folder =
        quarnel::emu::CreateDriveFolder(*parent, std::string(args[1]), speedX, &error);
    if (folder.empty()) {
        std::fprintf(stderr, "sondrel-cli: %s\n", error.c_str());
        return 1;
    }
    const DriveAccess access;
    for (const disc::DriveEntry& entry : disc::ListDrives(access.Drives())) {
        if (entry.device->GetDeviceName() == folder.string()) {
            std::printf("%s - created in %s\n", entry.text.c_str(), folder.c_str());
            return 0;
        }
    }
    std::printf("created in %s, but it has no drive letter\n", folder.c_str());
    return 1;
}

} // namespace

const CliCommand kDriveCommand{
    "drive", "create NAME [--speed N|max]",
    "creates an emulated writer (top speed 1x-52x, max: unlimited; 16x when not given) in "
    "$SONDREL_DRIVES or the user's data folder; it starts with an empty tray",
    RunDrive};

} // namespace cli
