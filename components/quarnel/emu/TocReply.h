#pragma once
// Replies to READ TOC/PMA/ATIP for formats 0 (tracks), 1 (sessions) and 2
// (full TOC), built from the disc state. Tracks of the session still open are
// listed once they are closed, so that a disc recorded over several takes shows
// its tracks before it is finalised.

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
[[nodiscard]] std::optional<std::vector<std::uint8_t>> BuildFullToc(const DiscState& state);

} // namespace quarnel::emu
