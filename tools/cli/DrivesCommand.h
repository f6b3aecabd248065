#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli drives: one line per drive, "D: " + inquiry text + " - " + medium.
extern const CliCommand kDrivesCommand;

} // namespace cli
