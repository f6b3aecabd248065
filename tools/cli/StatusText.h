#pragma once
// Words for a medium the drive classes report.

#include "components/quarnel/device/DeviceEnums.h"

#include <cstdint>
#include <string>

namespace cli {

// "CD-R", "DVD+RW", "no disc", "profile 0x0041" for one without a name.
[[nodiscard]] std::string MediumName(quarnel::MEDIUM_TYPE medium);

} // namespace cli
