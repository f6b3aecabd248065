#include "components/quarnel/emu/DiscStateCheck.h"

namespace quarnel::emu {

namespace {

std::string TrackProblem(const DiscState& state, const DiscTrack& track, std::uint32_t expected,
                         std::uint32_t previousEnd, std::uint32_t previousSession,
                         std::uint64_t imageBytes) {
    const std::string name = "track " + std::to_string(track.number);
    if (track.number != expected) {
        return name + " where track " + std::to_string(expected) + " belongs";
    }
    if (track.session < previousSession || track.session < 1 ||
        track.session > state.closedSessions + 1) {
        return name + " in session " + std::to_string(track.session) + " that cannot hold it";
    }
    if (track.start < previousEnd || track.End() < track.start) {
        return name + " overlaps the track before it";
    }
    const MediumTraits& traits = state.Traits();
    if (track.End() > state.Capacity() && state.Capacity() != 0) {
        return name + " ends beyond the disc's capacity";
    }
    // Randomly writable media keep only the blocks written in the image.
    const bool imageHoldsTracks = !traits.randomWritable && traits.blockBytes != 0;
    const bool isOpen = state.trackOpen && &track == &state.tracks.back();
    if (imageHoldsTracks && !isOpen &&
        std::uint64_t{track.End()} * traits.blockBytes > imageBytes) {
        return name + " ends beyond the disc image (" + std::to_string(imageBytes) + " bytes)";
    }
    return {};
}

} // namespace

std::string DiscStateProblem(const DiscState& state, std::uint64_t imageBytes) {
    if (!state.HasMedium()) {
        return state.tracks.empty() && !state.trackOpen ? std::string()
                                                        : "tracks but no disc in the tray";
    }
    if (state.trackOpen && (state.tracks.empty() || state.complete)) {
        return "an open track on a disc that cannot have one";
    }
    std::uint32_t previousEnd = 0;
    std::uint32_t previousSession = 1;
    std::uint32_t expected = 1;
    for (const DiscTrack& track : state.tracks) {
        std::string problem =
            TrackProblem(state, track, expected, previousEnd, previousSession, imageBytes);
        if (!problem.empty()) {
            return problem;
        }
        previousEnd = track.End();
        previousSession = track.session;
        ++expected;
    }
    if (!state.tracks.empty() && state.closedSessions > state.tracks.back().session) {
        return std::to_string(state.closedSessions) + " closed sessions but tracks in fewer";
    }
    return {};
}

} // namespace quarnel::emu
