#include "tools/cli/CliCommand.h"
#include "tools/cli/DemoCommand.h"
#include "tools/cli/TextCommand.h"

#include <array>

namespace cli {

std::span<const CliCommand> AllCommands() {
    static const std::array kCommands{kDemoCommand, kTextCommand};
    return kCommands;
}

} // namespace cli
