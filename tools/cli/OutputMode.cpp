#include "tools/cli/OutputMode.h"

#include <vector>

namespace cli {

namespace {

OutputMode g_outputMode = OutputMode::Status;

} // namespace

std::optional<OutputMode> TakeOutputOptions(std::vector<std::string_view>& args) {
    const bool quiet = std::erase(args, "--quiet") > 0;
    const bool json = std::erase(args, "--json") > 0;
    if (quiet && json) {
        return std::nullopt;
    }
    return quiet ? OutputMode::Quiet : json ? OutputMode::Json : OutputMode::Status;
}

void SetOutputMode(OutputMode mode) {
    g_outputMode = mode;
}

OutputMode CurrentOutputMode() {
    return g_outputMode;
}

} // namespace cli
