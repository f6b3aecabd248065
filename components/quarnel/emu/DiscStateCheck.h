#pragma once
// Whether a drive folder's disc state holds together: its values against each
// other and against the size of the disc image beside it. A state file edited
// by hand or damaged would otherwise show discs that cannot exist (a blank
// disc with a 69-minute track, a track past the end of its image).

#include "components/quarnel/emu/DiscState.h"

#include <cstdint>
#include <string>

namespace quarnel::emu {

// Empty when the state is consistent; else what is wrong, in a few words.
[[nodiscard]] std::string DiscStateProblem(const DiscState& state, std::uint64_t imageBytes);

} // namespace quarnel::emu
