#pragma once
// Writes the CUE sheet that describes a CD image kept by the emulated writer:
// one BINARY file of raw 2,352-byte blocks from address 0, one TRACK per track
// with its INDEX 01 at its address, TITLE/PERFORMER for CD-Text, and REM lines
// for what a CUE sheet cannot say (medium, session, the open track).

#include "components/quarnel/emu/DiscState.h"

#include <string>
#include <string_view>

namespace quarnel::emu {

[[nodiscard]] std::string FormatCueSheet(const DiscState& state, std::string_view binName);

} // namespace quarnel::emu
