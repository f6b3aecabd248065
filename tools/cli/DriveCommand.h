#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli drive create NAME [--speed N|max]: a new emulated writer.
extern const CliCommand kDriveCommand;

} // namespace cli
