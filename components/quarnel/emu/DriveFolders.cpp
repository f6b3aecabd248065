#include "components/quarnel/emu/DriveFolders.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"

#include <algorithm>
#include <cstdlib>

namespace quarnel::emu {

namespace {

std::filesystem::path SetError(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return {};
}

} // namespace

std::filesystem::path DefaultDrivesParent() {
    if (const char* drives = std::getenv("SONDREL_DRIVES"); drives != nullptr && *drives) {
        return drives;
    }
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data) {
        return std::filesystem::path(data) / "sondrel" / "drives";
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : ".") / ".local" / "share" / "sondrel" /
           "drives";
}

std::filesystem::path CreateDriveFolder(const std::filesystem::path& parent,
                                        const std::string& name, std::uint32_t writeSpeedX,
                                        std::string* error) {
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) {
        return SetError(error, "unusable drive name \"" + name + "\"");
    }
    if (writeSpeedX > kMaxWriteSpeedX) {
        return SetError(error, "write speeds run from 1x to 52x (0 = unlimited)");
    }
    const std::filesystem::path folder = parent / name;
    std::error_code code;
    if (std::filesystem::exists(folder / kDriveSettingsFileName, code)) {
        return SetError(error, "a drive already lives in " + folder.string());
    }
    std::filesystem::create_directories(folder, code);
    DriveSettings settings;
    settings.writeSpeedX = writeSpeedX;
    if (code || !SaveDriveSettings(folder / kDriveSettingsFileName, settings) ||
        !WriteFileAtomically(folder / kDiscStateFileName, FormatDiscState(DiscState{}))) {
        return SetError(error, "cannot write the drive files in " + folder.string());
    }
    return folder;
}

std::vector<std::filesystem::path> ListDriveFolders(const std::filesystem::path& parent) {
    std::vector<std::filesystem::path> folders;
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(parent, code)) {
        if (entry.is_directory(code) &&
            std::filesystem::is_regular_file(entry.path() / kDriveSettingsFileName, code)) {
            folders.push_back(entry.path());
        }
    }
    std::sort(folders.begin(), folders.end());
    return folders;
}

std::vector<std::filesystem::path> EnsureDefaultDrive(const std::filesystem::path& parent,
                                                      std::string* error) {
    std::vector<std::filesystem::path> folders = ListDriveFolders(parent);
    if (!folders.empty()) {
        return folders;
    }
    const DriveSettings defaults;
    const std::filesystem::path folder =
        CreateDriveFolder(parent, kDefaultDriveName, defaults.writeSpeedX, error);
    if (folder.empty()) {
        return {};
    }
    DiscState blank;
    blank.medium = MediumKind::CdR;
    if (!WriteFileAtomically(folder / kDiscStateFileName, FormatDiscState(blank))) {
        SetError(error, "cannot write the disc state in " + folder.string());
        return {};
    }
    return {folder};
}

} // namespace quarnel::emu
