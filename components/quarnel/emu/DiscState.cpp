#include "components/quarnel/emu/DiscState.h"

#include <algorithm>

namespace quarnel::emu {

std::uint32_t DiscState::Capacity() const {
    return medium == MediumKind::PressedCd || imageBlocks != 0 ? imageBlocks
                                                               : Traits().capacityBlocks;
}

std::uint32_t DiscState::SessionStart(std::uint32_t session) const {
    if (session <= 1) {
        return 0;
    }
    std::uint32_t previousEnd = 0;
    for (const DiscTrack& track : tracks) {
        if (track.session == session - 1) {
            previousEnd = AfterRunOut(track);
        }
    }
    return FollowingSessionStart(session - 1, previousEnd);
}

std::uint32_t DiscState::FollowingSessionStart(std::uint32_t session, std::uint32_t sessionEnd) {
    const std::uint32_t leadOut = session == 1 ? kFirstLeadOutBlocks : kLaterLeadOutBlocks;
    return sessionEnd + leadOut + kLeadInBlocks + kPauseBlocks;
}

std::uint32_t DiscState::AfterRunOut(const DiscTrack& track) const {
    const bool open = trackOpen && track.number == tracks.back().number;
    return track.End() + (HasTrackGaps() && !open ? kRunOutBlocks : 0);
}

std::uint32_t DiscState::PregapStart(const DiscTrack& track) const {
    const bool firstOfSession =
        std::none_of(tracks.begin(), tracks.end(), [&track](const DiscTrack& other) {
            return other.session == track.session && other.number < track.number;
        });
    return HasTrackGaps() && !firstOfSession && track.start >= kTrackPregapBlocks
               ? track.start - kTrackPregapBlocks
               : track.start;
}

std::uint32_t DiscState::NextWritable() const {
    if (!tracks.empty() && tracks.back().session == OpenSession()) {
        return trackOpen || !HasTrackGaps() ? tracks.back().End()
                                            : AfterRunOut(tracks.back()) + kTrackPregapBlocks;
    }
    return SessionStart(OpenSession());
}

std::uint32_t DiscState::NextTrackNumber() const {
    if (trackOpen) {
        return tracks.back().number;
    }
    return tracks.empty() ? 1 : tracks.back().number + 1;
}

std::uint32_t DiscState::FreeBlocks() const {
    const std::uint32_t next = NextWritable();
    return complete || next >= Capacity() ? 0 : Capacity() - next;
}

std::vector<DiscTrack> DiscState::ClosedTracks() const {
    std::vector<DiscTrack> closed = tracks;
    if (trackOpen && !closed.empty()) {
        closed.pop_back();
    }
    return closed;
}

std::vector<DiscTrack> DiscState::TracksOfSession(std::uint32_t session) const {
    std::vector<DiscTrack> result;
    for (const DiscTrack& track : ClosedTracks()) {
        if (track.session == session) {
            result.push_back(track);
        }
    }
    return result;
}

std::uint32_t DiscState::SessionCount() const {
    return complete ? closedSessions : closedSessions + 1;
}

bool DiscState::OpenSessionHasTracks() const {
    return std::any_of(tracks.begin(), tracks.end(),
                       [this](const DiscTrack& track) { return track.session == OpenSession(); });
}

bool DiscState::Readable(std::uint32_t lba) const {
    if (medium == MediumKind::PressedCd) {
        return lba < imageBlocks;
    }
    return std::any_of(tracks.begin(), tracks.end(), [this, lba](const DiscTrack& track) {
        return lba >= PregapStart(track) && lba < AfterRunOut(track);
    });
}

void DiscState::Erase() {
    tracks.clear();
    trackOpen = false;
    trackRuined = false;
    closedSessions = 0;
    complete = false;
    catalog.clear();
    title.clear();
    performer.clear();
}

} // namespace quarnel::emu
