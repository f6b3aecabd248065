#pragma once
// How a command with live output reports: a line redrawn in place on a
// terminal, plain lines at intervals into a log or a pipe, nothing but the
// result (--quiet), or one JSON object per line (--json). The global options
// are taken out of the arguments before the command reads them.

#include <optional>
#include <string_view>
#include <vector>

namespace cli {

// Status: the status line (in place on a terminal, else plain lines).
enum class OutputMode { Status, Quiet, Json };

// Removes "--quiet" and "--json" from `args`: the mode they choose, Status
// when neither is given; nothing when both are.
[[nodiscard]] std::optional<OutputMode> TakeOutputOptions(std::vector<std::string_view>& args);

// The mode of this run, set once by main() before any thread starts.
void SetOutputMode(OutputMode mode);
[[nodiscard]] OutputMode CurrentOutputMode();

} // namespace cli
