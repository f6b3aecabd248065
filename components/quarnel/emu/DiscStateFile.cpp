#include "components/quarnel/emu/DiscStateFile.h"

#include <charconv>
#include <sstream>

namespace quarnel::emu {

namespace {

bool ParseNumber(std::string_view text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    return error == std::errc{} && ptr == end;
}

bool ParseFlag(std::string_view text, bool& value) {
    if (text != "0" && text != "1") {
        return false;
    }
    value = text == "1";
    return true;
}

DiscTrack* TrackNumbered(DiscState& state, std::uint32_t number) {
    for (DiscTrack& track : state.tracks) {
        if (track.number == number) {
            return &track;
        }
    }
    return nullptr;
}

bool ParseTrack(std::string_view text, DiscState& state) {
    std::istringstream in{std::string(text)};
    std::uint32_t fields[5] = {};
    for (std::uint32_t& field : fields) {
        std::string word;
        if (!(in >> word) || !ParseNumber(word, field)) {
            return false;
        }
    }
    if (fields[4] > 0x0F) {
        return false;
    }
    state.tracks.push_back(
        {fields[0], fields[1], fields[2], fields[3], static_cast<std::uint8_t>(fields[4]), {}, {}});
    return true;
}

// title.<n> and performer.<n>: n = 0 names the disc.
bool ParseText(std::string_view key, std::string_view value, DiscState& state) {
    const bool title = key.starts_with("title.");
    std::uint32_t number = 0;
    if (!ParseNumber(key.substr(key.find('.') + 1), number)) {
        return false;
    }
    if (number == 0) {
        (title ? state.title : state.performer) = value;
        return true;
    }
    DiscTrack* track = TrackNumbered(state, number);
    if (track == nullptr) {
        return false;
    }
    (title ? track->title : track->performer) = value;
    return true;
}

bool ParseLine(std::string_view key, std::string_view value, DiscState& state) {
    if (key == "medium") {
        const std::optional<MediumKind> kind = MediumKindFromName(value);
        state.medium = kind.value_or(MediumKind::None);
        return kind.has_value();
    }
    if (key == "tray_open") {
        return ParseFlag(value, state.trayOpen);
    }
    if (key == "locked") {
        return ParseFlag(value, state.locked);
    }
    if (key == "lock_owner") {
        const std::optional<util::ProcessIdentity> owner = util::ProcessIdentity::Parse(value);
        state.lockOwner = owner.value_or(util::ProcessIdentity{});
        return owner.has_value();
    }
    if (key == "track_open") {
        return ParseFlag(value, state.trackOpen);
    }
    if (key == "track_ruined") {
        return ParseFlag(value, state.trackRuined);
    }
    if (key == "complete") {
        return ParseFlag(value, state.complete);
    }
    if (key == "formatted") {
        return ParseFlag(value, state.formatted);
    }
    if (key == "closed_sessions") {
        return ParseNumber(value, state.closedSessions);
    }
    if (key == "image_blocks") {
        return ParseNumber(value, state.imageBlocks);
    }
    if (key == "catalog") {
        state.catalog = value;
        return true;
    }
    if (key == "track") {
        return ParseTrack(value, state);
    }
    if (key.starts_with("title.") || key.starts_with("performer.")) {
        return ParseText(key, value, state);
    }
    return true; // keys of later versions are skipped
}

} // namespace

std::string FormatDiscState(const DiscState& state) {
    std::ostringstream out;
    out << "medium=" << state.Traits().name << '\n'
        << "tray_open=" << int{state.trayOpen} << '\n'
        << "locked=" << int{state.locked} << '\n'
        << "lock_owner=" << state.lockOwner.Format() << '\n'
        << "closed_sessions=" << state.closedSessions << '\n'
        << "complete=" << int{state.complete} << '\n'
        << "track_open=" << int{state.trackOpen} << '\n'
        << "track_ruined=" << int{state.trackRuined} << '\n'
        << "formatted=" << int{state.formatted} << '\n'
        << "image_blocks=" << state.imageBlocks << '\n'
        << "catalog=" << state.catalog << '\n'
        << "title.0=" << state.title << '\n'
        << "performer.0=" << state.performer << '\n';
    for (const DiscTrack& track : state.tracks) {
        out << "track=" << track.number << ' ' << track.session << ' ' << track.start << ' '
            << track.length << ' ' << int{track.control} << '\n';
    }
    for (const DiscTrack& track : state.tracks) {
        out << "title." << track.number << '=' << track.title << '\n'
            << "performer." << track.number << '=' << track.performer << '\n';
    }
    return out.str();
}

std::optional<DiscState> ParseDiscState(std::string_view text) {
    DiscState state;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty()) {
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos ||
            !ParseLine(line.substr(0, equals), line.substr(equals + 1), state)) {
            return std::nullopt;
        }
    }
    if (state.trackOpen && state.tracks.empty()) {
        return std::nullopt;
    }
    return state;
}

} // namespace quarnel::emu
