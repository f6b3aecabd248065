#include "platform/mixer/MuxSelection.h"

namespace platform::mixer {

std::optional<std::size_t> ResolveMuxWrite(const std::vector<bool>& current,
                                           const std::vector<bool>& requested) {
    if (current.size() != requested.size()) {
        return std::nullopt;
    }
    std::optional<std::size_t> kept;
    for (std::size_t i = 0; i < requested.size(); ++i) {
        if (!requested[i]) {
            continue;
        }
        if (!current[i]) {
            return i;
        }
        if (!kept) {
            kept = i;
        }
    }
    return kept;
}

std::optional<std::size_t> MuxChoice(const std::vector<bool>& selected, std::size_t lineCount) {
    if (selected.size() != lineCount) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) {
            return i;
        }
    }
    return std::nullopt;
}

} // namespace platform::mixer
