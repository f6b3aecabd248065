#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli save LETTER --folder DIR --format wav|mp3 [--tracks LIST]:
// the disc's audio tracks into files.
extern const CliCommand kSaveCommand;

} // namespace cli
