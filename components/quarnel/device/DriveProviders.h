#pragma once
// Where the drive list comes from: the machine's own drives (sysfs and
// SG_IO) and drives offered by other providers, such as emulated writers.
// Providers register before the drive list is built.

#include "components/quarnel/Transport.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace quarnel {

// Called with whether the drives listed before the provider's own include a
// writer, so that a provider can stand in for a missing one.
using DriveProvider = std::function<std::vector<std::unique_ptr<Transport>>(bool writerListed)>;

// Adds a provider for every drive list built from now on. Thread-safe.
void RegisterDriveProvider(DriveProvider provider);
[[nodiscard]] std::vector<DriveProvider> RegisteredDriveProviders();

// Whether the drive can write; a drive whose capabilities cannot be read is
// given the benefit of the doubt.
[[nodiscard]] bool ProbeWriter(Transport& transport);

// The drives found under sysfsRoot that could be opened, in sysfs order,
// followed by every provider's drives in the order given.
[[nodiscard]] std::vector<std::unique_ptr<Transport>>
CollectDrives(const std::filesystem::path& sysfsRoot, const std::vector<DriveProvider>& providers);

} // namespace quarnel
