#pragma once
// A list of track numbers as the command line takes it: "1,3-5,9".

#include <optional>
#include <set>
#include <string_view>

namespace cli {

// The numbers the list names; nullopt when it is malformed (empty parts,
// reversed ranges, numbers outside 1..99).
[[nodiscard]] std::optional<std::set<int>> ParseTrackSelection(std::string_view list);

} // namespace cli
