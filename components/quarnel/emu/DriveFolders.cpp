#include "components/quarnel/emu/DriveFolders.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "util/Environment.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace quarnel::emu {

namespace {

constexpr const char* kLetterFileName = "letter";
constexpr int kFirstLetterId = 3; // D
constexpr int kLastLetterId = 25; // Z

// The letter stored in `folder`, as its index; 0 when none is readable.
int StoredLetter(const std::filesystem::path& folder) {
    const std::optional<std::string> text = ReadWholeFile(folder / kLetterFileName);
    if (!text || text->empty()) {
        return 0;
    }
    const int id = std::toupper(static_cast<unsigned char>(text->front())) - 'A';
    return id >= kFirstLetterId && id <= kLastLetterId ? id : 0;
}

std::filesystem::path SetError(std::string* error, const std::string& message) {
    if (error != nullptr) {
        *error = message;
    }
    return {};
}

} // namespace

std::vector<int> KeepDriveLetters(const std::vector<std::filesystem::path>& folders) {
    std::vector<int> letters(folders.size(), 0);
    std::vector<bool> taken(kLastLetterId + 1, false);
    for (std::size_t i = 0; i < folders.size(); ++i) {
        const int stored = StoredLetter(folders[i]);
        if (stored != 0 && !taken[static_cast<std::size_t>(stored)]) {
            letters[i] = stored;
            taken[static_cast<std::size_t>(stored)] = true;
        }
    }
    for (std::size_t i = 0; i < folders.size(); ++i) {
        if (letters[i] != 0) {
            continue;
        }
        const auto free = std::find(taken.begin() + kFirstLetterId, taken.end(), false);
        if (free == taken.end()) {
            break;
        }
        const int id = static_cast<int>(free - taken.begin());
        if (WriteFileAtomically(folders[i] / kLetterFileName,
                                std::string(1, static_cast<char>('A' + id)) + "\n")) {
            letters[i] = id;
            *free = true;
        }
    }
    return letters;
}

std::filesystem::path DefaultDrivesParent() {
    if (const std::string drives = util::EnvironmentValue("SONDREL_DRIVES"); !drives.empty()) {
        return drives;
    }
    return util::UserDataFolder() / "drives";
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
    std::filesystem::path folder = parent / name;
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
