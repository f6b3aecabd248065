#include "tools/cli/DriveCommand.h"

#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "disc/DriveList.h"
#include "tools/cli/DriveAccess.h"
#include "tools/cli/DriveServe.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

namespace cli {

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sondrel-cli drive create NAME [--speed N|max] "
                         "[--time-scale X] [--reader]\n"
                         "       sondrel-cli drive serve D [--node /dev/srN] [--socket PATH]\n");
    return 2;
}

struct CreateOptions {
    std::uint32_t speedX = quarnel::emu::DriveSettings{}.writeSpeedX;
    double timeScale = 1.0;
    bool reader = false;
};

// A factor for every duration the drive models: above 0, at most 1000.
bool ParseTimeScale(std::string_view text, double& scale) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    return error == std::errc{} && end == text.data() + text.size() && scale > 0.0 &&
           scale <= 1000.0;
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

std::optional<CreateOptions> ParseOptions(std::span<const std::string_view> options) {
    CreateOptions parsed;
    for (std::size_t i = 0; i < options.size(); ++i) {
        const bool hasValue = i + 1 < options.size();
        if (options[i] == "--reader") {
            parsed.reader = true;
        } else if (options[i] == "--speed" && hasValue) {
            if (!ParseSpeed(options[++i], parsed.speedX)) {
                std::fprintf(stderr, "sondrel-cli: speeds run from 1 to %u, or max for no limit\n",
                             quarnel::emu::kMaxWriteSpeedX);
                return std::nullopt;
            }
        } else if (options[i] == "--time-scale" && hasValue) {
            if (!ParseTimeScale(options[++i], parsed.timeScale)) {
                std::fprintf(stderr, "sondrel-cli: time scales run above 0 up to 1000\n");
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return parsed;
}

// Writes the options that CreateDriveFolder does not take into drive.ini.
bool ApplyOptions(const std::filesystem::path& folder, const CreateOptions& options) {
    const std::filesystem::path file = folder / quarnel::emu::kDriveSettingsFileName;
    std::optional<quarnel::emu::DriveSettings> settings = quarnel::emu::LoadDriveSettings(file);
    if (!settings) {
        return false;
    }
    settings->timeScale = options.timeScale;
    if (options.reader) {
        settings->capabilities.cdR = false;
        settings->capabilities.cdRw = false;
        settings->capabilities.dvdRw = false;
        settings->capabilities.dvdPlusRw = false;
        settings->capabilities.dvdRam = false;
    }
    return quarnel::emu::SaveDriveSettings(file, *settings);
}

int RunDrive(std::span<const std::string_view> args) {
    if (!args.empty() && args[0] == "serve") {
        return RunDriveServe(args.subspan(1));
    }
    if (args.size() < 2 || args[0] != "create") {
        return Usage();
    }
    const std::optional<CreateOptions> options = ParseOptions(args.subspan(2));
    if (!options) {
        return Usage();
    }
    const auto parent = quarnel::EmulatedDriveProvider::ParentFromEnvironment();
    if (!parent) {
        std::fprintf(stderr, "sondrel-cli: emulated drives are switched off (SONDREL_DRIVES=%s)\n",
                     quarnel::EmulatedDriveProvider::kNoDrives);
        return 1;
    }
    std::string error;
    const std::filesystem::path folder =
        quarnel::emu::CreateDriveFolder(*parent, std::string(args[1]), options->speedX, &error);
    if (folder.empty()) {
        std::fprintf(stderr, "sondrel-cli: %s\n", error.c_str());
        return 1;
    }
    if (!ApplyOptions(folder, *options)) {
        std::fprintf(stderr, "sondrel-cli: cannot write the settings in %s\n", folder.c_str());
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
    "drive", "create NAME [--speed N|max] [--time-scale X] [--reader] | serve D [--node /dev/srN]",
    "creates an emulated writer (top speed 1x-52x, max: unlimited; 16x when not given) in "
    "$SONDREL_DRIVES or the user's data folder; it starts with an empty tray. --time-scale "
    "multiplies every duration it models (blanking, formatting, closing); --reader makes a "
    "drive that writes nothing; serve makes drive D a device node (/dev/sr99 unless given) that "
    "disc programs open through the preload library libsondrel-device.so, until Ctrl-C",
    RunDrive};

} // namespace cli
