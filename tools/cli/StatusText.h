#pragma once
// Words for what the drive classes report: a status value, a medium.

#include "components/quarnel/device/DeviceEnums.h"

#include <cstdint>
#include <string>

namespace cli {

// "sense 2/3A/00 (no disc)", "no answer from the drive (host error 0x20007)" ...
[[nodiscard]] std::string StatusText(std::uint32_t status);

// "CD-R", "DVD+RW", "no disc", "profile 0x0041" for one without a name.
[[nodiscard]] std::string MediumName(quarnel::MEDIUM_TYPE medium);

} // namespace cli
