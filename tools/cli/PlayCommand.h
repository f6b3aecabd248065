#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli play LETTER [--track N] [--output DEVICE]: plays a track of the
// disc through the wave output.
extern const CliCommand kPlayCommand;

} // namespace cli
