#include "tools/cli/CliCommand.h"

#include <array>

namespace cli {

std::span<const CliCommand> AllCommands() {
    static const std::array<CliCommand, 0> kCommands{};
    return kCommands;
}

} // namespace cli
