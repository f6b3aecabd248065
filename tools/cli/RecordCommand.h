#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli record: one take from the sound input onto a disc or into a file.
extern const CliCommand kRecordCommand;

} // namespace cli
