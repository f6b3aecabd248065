#pragma once
// CD-Text packs (READ TOC format 5) for the titles and performers of a disc:
// one language block (English), ISO 8859-1 text, a lone tab for a track whose
// text repeats the previous track's, and the three size-information packs.

#include "components/quarnel/emu/DiscState.h"

#include <array>
#include <cstdint>
#include <vector>

namespace quarnel::emu {

using CdTextPack = std::array<std::uint8_t, 18>;

// Empty when the disc carries neither titles nor performers.
[[nodiscard]] std::vector<CdTextPack> BuildCdTextPacks(const DiscState& state);

} // namespace quarnel::emu
