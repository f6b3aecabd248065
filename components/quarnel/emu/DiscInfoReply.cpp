#include "components/quarnel/emu/DiscInfoReply.h"

#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kStatusBlank = 0;
constexpr std::uint8_t kStatusAppendable = 1;
constexpr std::uint8_t kStatusComplete = 2;
constexpr std::uint8_t kSessionEmpty = 0;
constexpr std::uint8_t kSessionIncomplete = 1;
constexpr std::uint8_t kSessionComplete = 3;
constexpr std::uint8_t kInvisibleTrack = 0xFF;

void PutCdTime(std::span<std::uint8_t> out, std::size_t at, std::uint32_t frames) {
    out[at] = 0;
    out[at + 1] = static_cast<std::uint8_t>(frames / 4500);
    out[at + 2] = static_cast<std::uint8_t>(frames / 75 % 60);
    out[at + 3] = static_cast<std::uint8_t>(frames % 75);
}

struct DiscStatus {
    std::uint8_t disc = kStatusBlank;
    std::uint8_t lastSession = kSessionEmpty;
};

DiscStatus StatusOf(const DiscState& state) {
    if (state.medium == MediumKind::PressedCd || state.complete) {
        return {kStatusComplete, kSessionComplete};
    }
    if (state.Traits().randomWritable) {
        return state.formatted ? DiscStatus{kStatusComplete, kSessionComplete} : DiscStatus{};
    }
    if (state.Blank()) {
        return {};
    }
    return {kStatusAppendable, state.OpenSessionHasTracks() ? kSessionIncomplete : kSessionEmpty};
}

struct TrackView {
    std::uint32_t number = 0;
    std::uint32_t session = 0;
    std::uint32_t start = 0;
    std::uint32_t size = 0;
    std::uint32_t nextWritable = 0;
    std::uint32_t free = 0;
    std::uint8_t control = 0;
    bool blank = false;
    bool writable = false;
};

TrackView ClosedView(const DiscTrack& track) {
    return {track.number,  track.session, track.start, track.length, 0, 0,
            track.control, false,         false};
}

// The track that takes the next write: the open track or the invisible one.
std::optional<TrackView> WritableView(const DiscState& state) {
    if (state.complete || !state.Traits().writable) {
        return std::nullopt;
    }
    if (state.Traits().randomWritable) {
        return TrackView{1, 1, 0, state.Capacity(), 0, state.Capacity(), 0, false, true};
    }
    TrackView view;
    view.number = state.NextTrackNumber();
    view.session = state.OpenSession();
    view.start = state.trackOpen ? state.tracks.back().start : state.NextWritable();
    view.size = state.Capacity() - view.start;
    view.nextWritable = state.NextWritable();
    view.free = state.FreeBlocks();
    view.blank = !state.trackOpen;
    view.writable = !state.trackRuined;
    return view;
}

std::optional<TrackView> FindTrack(const DiscState& state, TrackAddressType type,
                                   std::uint32_t value) {
    const std::optional<TrackView> writable = WritableView(state);
    if (state.Traits().randomWritable) {
        const bool first = type == TrackAddressType::TrackNumber ? value == 1 || value == 0xFF
                                                                 : value < state.Capacity();
        return first ? writable : std::nullopt;
    }
    for (const DiscTrack& track : state.ClosedTracks()) {
        const bool match = type == TrackAddressType::TrackNumber
                               ? track.number == value
                               : value >= track.start && value < track.End();
        if (match) {
            return ClosedView(track);
        }
    }
    if (!writable) {
        return std::nullopt;
    }
    const bool match = type == TrackAddressType::TrackNumber
                           ? value == writable->number || value == kInvisibleTrack
                           : value >= writable->start && value < state.Capacity();
    return match ? writable : std::nullopt;
}

} // namespace

std::array<std::uint8_t, kDiscInformationBytes> BuildDiscInformation(const DiscState& state) {
    std::array<std::uint8_t, kDiscInformationBytes> out{};
    PutBe16(out, 0, kDiscInformationBytes - 2);
    const DiscStatus status = StatusOf(state);
    out[2] = static_cast<std::uint8_t>((state.Traits().erasable ? 0x10 : 0) |
                                       (status.lastSession << 2) | status.disc);
    out[3] = 1;
    const std::uint32_t sessions = state.SessionCount() == 0 ? 1 : state.SessionCount();
    const std::uint32_t lastSession = state.complete ? state.closedSessions : state.OpenSession();
    std::uint32_t firstInLast = state.NextTrackNumber();
    std::uint32_t lastInLast = state.NextTrackNumber();
    const std::vector<DiscTrack> inLast = state.TracksOfSession(lastSession);
    if (!inLast.empty()) {
        firstInLast = inLast.front().number;
        lastInLast = status.disc == kStatusComplete ? inLast.back().number : lastInLast;
    }
    if (state.medium == MediumKind::PressedCd || state.Traits().randomWritable) {
        firstInLast = 1;
        lastInLast = state.tracks.empty() ? 1 : state.tracks.back().number;
    }
    out[4] = static_cast<std::uint8_t>(sessions);
    out[5] = static_cast<std::uint8_t>(firstInLast);
    out[6] = static_cast<std::uint8_t>(lastInLast);
    const std::uint8_t background =
        state.medium == MediumKind::DvdPlusRw && state.formatted ? 3 : 0;
    out[7] = static_cast<std::uint8_t>(0x10 | background); // unrestricted use
    out[9] = static_cast<std::uint8_t>(sessions >> 8);
    out[10] = static_cast<std::uint8_t>(firstInLast >> 8);
    out[11] = static_cast<std::uint8_t>(lastInLast >> 8);
    if (status.disc == kStatusComplete && state.Traits().cd) {
        PutBe32(out, 16, 0xFFFFFFFF);
        PutBe32(out, 20, 0xFFFFFFFF);
    } else if (state.Traits().cd) {
        const std::uint32_t sessionStart = state.SessionStart(state.OpenSession());
        const std::uint32_t leadIn =
            state.OpenSession() == 1 ? kAtipLeadInFrames
                                     : sessionStart - kLeadInBlocks - kPauseBlocks + kPregapFrames;
        PutCdTime(out, 16, leadIn);
        PutCdTime(out, 20, state.Capacity() + kPregapFrames);
    } else {
        PutBe32(out, 20, state.Capacity());
    }
    return out;
}

std::optional<std::array<std::uint8_t, kTrackInformationBytes>>
BuildTrackInformation(const DiscState& state, TrackAddressType type, std::uint32_t value) {
    if (type == TrackAddressType::SessionNumber) {
        return std::nullopt;
    }
    const std::optional<TrackView> found = FindTrack(state, type, value);
    if (!found) {
        return std::nullopt;
    }
    const TrackView& view = *found;
    std::array<std::uint8_t, kTrackInformationBytes> out{};
    PutBe16(out, 0, kTrackInformationBytes - 2);
    out[2] = static_cast<std::uint8_t>(view.number);
    out[3] = static_cast<std::uint8_t>(view.session);
    out[5] = view.control;
    const bool audio = (view.control & 0x04) == 0;
    out[6] = static_cast<std::uint8_t>((view.blank ? 0x40 : 0) | (audio ? 0x0F : 0x01));
    out[7] = view.writable ? 0x01 : 0x00;
    PutBe32(out, 8, view.start);
    PutBe32(out, 12, view.writable ? view.nextWritable : 0);
    PutBe32(out, 16, view.free);
    PutBe32(out, 24, view.size);
    out[32] = static_cast<std::uint8_t>(view.number >> 8);
    out[33] = static_cast<std::uint8_t>(view.session >> 8);
    return out;
}

} // namespace quarnel::emu
