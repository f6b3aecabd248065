#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli check LETTER: the drive's answers to the commands Sondrel needs
// besides writing (readiness, reading audio, the tray and its lock, the
// exclusive opening), one line each.
extern const CliCommand kCheckCommand;

} // namespace cli
