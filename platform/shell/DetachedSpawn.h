#pragma once
// Starts a program detached from this process: a short-lived middle child
// makes a new session and forks the program, so the program is adopted by
// init (or the nearest subreaper) and never becomes our zombie.

#include <string>
#include <vector>

namespace platform {

// Runs `programPath` with `arguments` (not counting the program's own name) in
// `workingFolder` (empty: the current folder). A `programPath` without a '/'
// is looked up in PATH. True when the program's image was loaded; false when
// it was not found, could not be executed, or the folder could not be entered.
bool SpawnDetached(const std::string& programPath, const std::vector<std::string>& arguments,
                   const std::string& workingFolder);

} // namespace platform
