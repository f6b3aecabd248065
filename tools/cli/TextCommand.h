#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli text SECTION NUMBER: one text of the current language file.
extern const CliCommand kTextCommand;

} // namespace cli
