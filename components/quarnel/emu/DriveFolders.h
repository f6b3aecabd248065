#pragma once
// The folders that hold emulated drives: one folder per drive, named after the
// drive, under $SONDREL_DRIVES, else $XDG_DATA_HOME/sondrel/drives, else
// ~/.local/share/sondrel/drives.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace quarnel::emu {

inline constexpr const char* kDefaultDriveName = "writer";

[[nodiscard]] std::filesystem::path DefaultDrivesParent();

// Creates `parent`/`name` with a drive.ini for a writer of that top speed and an
// empty, closed tray. Empty path (and `error`) when the name is unusable, the
// folder already holds a drive, or it cannot be written.
std::filesystem::path CreateDriveFolder(const std::filesystem::path& parent,
                                        const std::string& name, std::uint32_t writeSpeedX,
                                        std::string* error = nullptr);

// Folders under `parent` that hold a drive.ini, sorted by name.
[[nodiscard]] std::vector<std::filesystem::path>
ListDriveFolders(const std::filesystem::path& parent);

// The drive letter's index (3 = D) each of `folders` keeps: the one stored in
// its "letter" file, else the lowest from D that no other of them keeps,
// stored then, so a drive keeps the letter it was first given whatever other
// folders come, go or break. 0 for a folder whose letter cannot be stored.
std::vector<int> KeepDriveLetters(const std::vector<std::filesystem::path>& folders);

// When `parent` holds no drive, creates the default writer with a blank CD-R
// in it. Returns the drive folders (empty when creating failed).
std::vector<std::filesystem::path> EnsureDefaultDrive(const std::filesystem::path& parent,
                                                      std::string* error = nullptr);

} // namespace quarnel::emu
