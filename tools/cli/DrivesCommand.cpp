#include "tools/cli/DrivesCommand.h"

#include "disc/DriveList.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/StatusText.h"

#include <cstdio>

namespace cli {

namespace {

int RunDrives(std::span<const std::string_view> args) {
    if (!args.empty()) {
        std::fprintf(stderr, "usage: sondrel-cli drives\n");
        return 2;
    }
    const DriveAccess access;
    const std::vector<disc::DriveEntry> entries = disc::ListDrives(access.Drives());
    if (entries.empty()) {
        std::printf("no drives\n");
    }
    for (const disc::DriveEntry& entry : entries) {
        std::printf("%s - %s\n", entry.text.c_str(),
                    MediumName(entry.device->GetMediumType()).c_str());
    }
    return 0;
}

} // namespace

const CliCommand kDrivesCommand{
    "drives", "",
    "lists the drives: the machine's own (/dev/sr*) first, then the emulated ones, with the "
    "disc each holds",
    RunDrives};

} // namespace cli
