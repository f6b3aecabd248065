#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli disc load|eject|info LETTER ...: the disc in a drive.
extern const CliCommand kDiscCommand;

} // namespace cli
