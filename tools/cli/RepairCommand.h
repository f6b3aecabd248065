#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

extern const CliCommand kRepairCommand;

} // namespace cli
