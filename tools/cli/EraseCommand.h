#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli erase LETTER [--yes]: erases the rewritable disc in the drive.
extern const CliCommand kEraseCommand;

} // namespace cli
