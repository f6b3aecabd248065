#include "tools/cli/TrackSelection.h"

#include <charconv>

namespace cli {

namespace {

constexpr int kLastTrack = 99;

std::optional<int> Number(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kLastTrack) {
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<std::set<int>> ParseTrackSelection(std::string_view list) {
    std::set<int> tracks;
    while (true) {
        const std::size_t comma = list.find(',');
        const std::string_view part = list.substr(0, comma);
        const std::size_t dash = part.find('-');
        const std::optional<int> first = Number(part.substr(0, dash));
        const std::optional<int> last =
            dash == std::string_view::npos ? first : Number(part.substr(dash + 1));
        if (!first || !last || *last < *first) {
            return std::nullopt;
        }
        for (int track = *first; track <= *last; ++track) {
            tracks.insert(track);
        }
        if (comma == std::string_view::npos) {
            return tracks;
        }
        list.remove_prefix(comma + 1);
    }
}

} // namespace cli
