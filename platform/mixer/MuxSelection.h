#pragma once

#include <optional>
#include <vector>

namespace platform::mixer {

// A write to a MUX control may carry more than one set item: a caller that reads the items,
// sets the one it wants and writes them all back still carries the old choice. The item
// that is newly set wins; writing the current choice again keeps it. Returns no item when
// nothing is set or the sizes differ.
std::optional<std::size_t> ResolveMuxWrite(const std::vector<bool>& current,
                                           const std::vector<bool>& requested);

// The MUX item a resolved write chooses: the first set one, when there are lineCount items.
std::optional<std::size_t> MuxChoice(const std::vector<bool>& selected, std::size_t lineCount);

} // namespace platform::mixer
