#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli demo: shows what the program's foundation does, without a window.
extern const CliCommand kDemoCommand;

} // namespace cli
