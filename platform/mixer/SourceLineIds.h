#pragma once

// Identifiers of source lines that stay the same while the program runs: one per name the
// backend gives a line (the sound server's source name and port, say), handed out on first
// sight and never reused, so a line keeps its identifier while others come and go.

#include <cstdint>
#include <string>

namespace platform::mixer {

// The identifier of the line named `key`; the first one handed out is `first`.
std::uint32_t StableSourceLineId(const std::string& key, std::uint32_t first);

} // namespace platform::mixer
