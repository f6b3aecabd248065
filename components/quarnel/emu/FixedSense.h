#pragma once
// Fixed-format sense data (response code 70h), 18 bytes, as REQUEST SENSE and
// auto-sense return it. During a blank or format the sense-key-specific bytes
// carry the progress (SKSV set, 16-17 = done × 65536).

#include "components/quarnel/mmc/SenseCodes.h"

#include <array>
#include <cstdint>
#include <optional>

namespace quarnel::emu {

inline constexpr std::size_t kFixedSenseBytes = 18;
using FixedSenseBytes = std::array<std::uint8_t, kFixedSenseBytes>;

[[nodiscard]] FixedSenseBytes BuildFixedSense(SenseCode code,
                                              std::optional<std::uint16_t> progress);

} // namespace quarnel::emu
