#pragma once
// Finding the CD/DVD drives of the machine through sysfs.

#include <filesystem>
#include <string>
#include <vector>

namespace quarnel {

// The device nodes ("/dev/sr0", ...) of the block devices named sr<n> whose
// SCSI device type is 5 (CD/DVD), in the order of their numbers. sysfsRoot is
// "/sys" on a running system; tests pass a folder of their own.
[[nodiscard]] std::vector<std::string> FindOpticalDrives(const std::filesystem::path& sysfsRoot);

} // namespace quarnel
