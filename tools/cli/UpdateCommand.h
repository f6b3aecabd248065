#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli update [SERVER]: the update check of the program folder, with its
// question asked on the terminal.
extern const CliCommand kUpdateCommand;

// sondrel-cli download URL FILE: one file download.
extern const CliCommand kDownloadCommand;

} // namespace cli
