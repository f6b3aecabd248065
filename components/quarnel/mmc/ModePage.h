#pragma once
// Locating a page in a MODE SENSE(10) reply, and the MODE SELECT(10)
// parameter list that carries a page back to the drive.

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quarnel {

inline constexpr std::size_t kModeHeader10Length = 8;

// The page's bytes (from its page-code byte on) as far as both the page's own
// length and the delivered bytes reach. A page of another code is WrongFormat.
[[nodiscard]] Parsed<std::span<const std::uint8_t>>
FindModePage(std::span<const std::uint8_t> reply, std::uint8_t pageCode);

// An all-zero 8-byte header (no block descriptors) followed by the page, with
// the PS bit cleared as MODE SELECT requires.
[[nodiscard]] std::vector<std::uint8_t> ModeSelectList(std::span<const std::uint8_t> page);

} // namespace quarnel
