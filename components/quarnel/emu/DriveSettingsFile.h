#pragma once
// drive.ini of an emulated drive:
//   [drive]  vendor, product, revision, capabilities (comma list of cd-r, cd-rw,
//            dvd-rw, dvd+rw, dvd-ram, test-write, buf, lock, eject),
//            write_speed (multiple of 1x, 0 = unlimited), buffer_kib, time_scale
//   [faults] long_write_attempts, fail_writes_from, not_ready,
//            unreadable, unstable (comma lists of blocks or first-last ranges)
// Missing keys keep their defaults.

#include "components/quarnel/emu/DriveSettings.h"

#include <filesystem>
#include <optional>

namespace quarnel::emu {

// nullopt when the file is missing or a value cannot be read.
// `readError` names the file when it is there but is no regular file.
[[nodiscard]] std::optional<DriveSettings> LoadDriveSettings(const std::filesystem::path& path,
                                                             std::string* readError = nullptr);
[[nodiscard]] bool SaveDriveSettings(const std::filesystem::path& path,
                                     const DriveSettings& settings);

} // namespace quarnel::emu
