#pragma once
// GET CONFIGURATION: the feature header's current profile (the kind of
// medium in the drive, 0 when there is none).

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>

namespace quarnel {

inline constexpr std::uint16_t kFeatureHeaderLength = 8;

[[nodiscard]] Parsed<std::uint16_t> ParseCurrentProfile(std::span<const std::uint8_t> reply);

} // namespace quarnel
