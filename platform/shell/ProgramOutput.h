#pragma once
// Runs a short desktop query program and reads what it writes.

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Runs `program` (looked up in PATH) with `arguments`, standard input on
// /dev/null, and waits for it to end; its standard output, or nothing when it
// could not be run or did not end with status 0.
std::optional<std::string> ProgramOutput(const std::string& program,
                                         const std::vector<std::string>& arguments);

} // namespace platform
