#pragma once
// The disc state as a small text file of "key=value" lines beside the image:
//   medium=cd-r  tray_open=0  locked=0  closed_sessions=0  complete=0
//   track_open=1  track_ruined=0  formatted=0  image_blocks=0
//   track=<number> <session> <start> <length> <control>   (one per track)
//   title.<n>=...  performer.<n>=...   (n = 0 for the disc)  catalog=...

#include "components/quarnel/emu/DiscState.h"

#include <optional>
#include <string>
#include <string_view>

namespace quarnel::emu {

[[nodiscard]] std::string FormatDiscState(const DiscState& state);
// nullopt when a line is malformed or the medium unknown.
[[nodiscard]] std::optional<DiscState> ParseDiscState(std::string_view text);

} // namespace quarnel::emu
