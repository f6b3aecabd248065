#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli hotkey show | set KEY [--modifier M] | off: the recording
// hotkey's settings, the same registry values the settings dialog writes.
extern const CliCommand kHotkeyCommand;

} // namespace cli
