#pragma once
#include "tools/cli/CliCommand.h"

namespace cli {

// sondrel-cli toc LETTER: the audio tracks of the disc with titles and addresses.
extern const CliCommand kTocCommand;

} // namespace cli
