#pragma once
// Replies to READ TOC/PMA/ATIP for formats 0 (tracks), 1 (sessions), 2 (full
// TOC), 3 (PMA) and 4 (ATIP), built from the disc state. As drives that fill
// the track list from the PMA do, formats 0 and 1 list the closed tracks of
// the session still open; the full TOC holds what the lead-ins hold, so it
// lists closed sessions only.

#include "components/quarnel/emu/DiscState.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace quarnel::emu {

// nullopt: no such track, or no closed track to list (INVALID FIELD).
[[nodiscard]] std::optional<std::vector<std::uint8_t>>
BuildTrackToc(const DiscState& state, bool msf, std::uint8_t startTrack);
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BuildSessionToc(const DiscState& state,
                                                                       bool msf);
// nullopt: no session closed yet.
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BuildFullToc(const DiscState& state);
// Every closed track: start and stop times, in full TOC descriptors.
[[nodiscard]] std::vector<std::uint8_t> BuildPma(const DiscState& state);
// nullopt: the medium has no ATIP (pressed CDs, DVDs).
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BuildAtip(const DiscState& state);

} // namespace quarnel::emu
