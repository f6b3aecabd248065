#include "components/quarnel/emu/TocReply.h"

#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kAdrQ = 0x10; // ADR 1: Q sub-channel position data
constexpr std::uint8_t kLeadOutTrack = 0xAA;

void PutAddress(std::vector<std::uint8_t>& out, std::uint32_t lba, bool msf) {
    const std::size_t at = out.size();
    out.resize(at + 4);
    if (msf) {
        const Msf time = LbaToMsf(lba);
        out[at + 1] = time.minutes;
        out[at + 2] = time.seconds;
        out[at + 3] = time.frames;
    } else {
        PutBe32(out, at, lba);
    }
}

void FinishLength(std::vector<std::uint8_t>& out) {
    PutBe16(out, 0, static_cast<std::uint16_t>(out.size() - 2));
}

// The sessions a table of contents lists: closed ones, and the open one once
// it holds a closed track.
std::uint32_t ListedSessions(const DiscState& state) {
    std::uint32_t last = 0;
    for (const DiscTrack& track : state.ClosedTracks()) {
        last = track.session;
    }
    return last;
}

void PutFullEntry(std::vector<std::uint8_t>& out, std::uint8_t session, std::uint8_t adrControl,
                  std::uint8_t point, Msf time, std::uint8_t zero, Msf pointTime) {
    out.insert(out.end(), {session, adrControl, 0, point, time.minutes, time.seconds, time.frames,
                           zero, pointTime.minutes, pointTime.seconds, pointTime.frames});
}

} // namespace

std::optional<std::vector<std::uint8_t>> BuildTrackToc(const DiscState& state, bool msf,
                                                       std::uint8_t startTrack) {
    const std::vector<DiscTrack> tracks = state.ClosedTracks();
    if (tracks.empty()) {
        return std::nullopt;
    }
    const std::uint32_t lastNumber = tracks.back().number;
    if (startTrack != kLeadOutTrack && startTrack > lastNumber) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out{0, 0, static_cast<std::uint8_t>(tracks.front().number),
                                  static_cast<std::uint8_t>(lastNumber)};
    for (const DiscTrack& track : tracks) {
        if (startTrack != kLeadOutTrack && track.number >= startTrack) {
            out.insert(out.end(), {0, static_cast<std::uint8_t>(kAdrQ | track.control),
                                   static_cast<std::uint8_t>(track.number), 0});
            PutAddress(out, track.start, msf);
        }
    }
    out.insert(out.end(),
               {0, static_cast<std::uint8_t>(kAdrQ | tracks.back().control), kLeadOutTrack, 0});
    PutAddress(out, state.AfterRunOut(tracks.back()), msf);
    FinishLength(out);
    return out;
}

std::optional<std::vector<std::uint8_t>> BuildSessionToc(const DiscState& state, bool msf) {
    const std::uint32_t session = ListedSessions(state);
    if (session == 0) {
        return std::nullopt;
    }
    const DiscTrack first = state.TracksOfSession(session).front();
    std::vector<std::uint8_t> out{0,
                                  0,
                                  1,
                                  static_cast<std::uint8_t>(session),
                                  0,
                                  static_cast<std::uint8_t>(kAdrQ | first.control),
                                  static_cast<std::uint8_t>(first.number),
                                  0};
    PutAddress(out, first.start, msf);
    FinishLength(out);
    return out;
}

std::optional<std::vector<std::uint8_t>> BuildFullToc(const DiscState& state) {
    const std::uint32_t listed = ListedSessions(state);
    if (listed == 0) {
        return std::nullopt;
    }
    // Sessions up to `closed` have their lead-in written. The session after
    // them comes from the PMA, with the A0/A1/A2 points drives fill in from it
    // (the lead-out where the last track's run-out ends, so that programs
    // taking the full TOC see each track whole) but without B0, which only a
    // written lead-in carries: with B0 programs count the open session twice.
    const std::uint32_t closed = state.complete ? listed : std::min(listed, state.closedSessions);
    std::vector<std::uint8_t> out{0, 0, 1, static_cast<std::uint8_t>(listed)};
    const Msf none{};
    for (std::uint32_t session = 1; session <= listed; ++session) {
        const std::vector<DiscTrack> tracks = state.TracksOfSession(session);
        if (tracks.empty()) {
            continue;
        }
        const auto s = static_cast<std::uint8_t>(session);
        const auto adrControl = static_cast<std::uint8_t>(kAdrQ | tracks.front().control);
        const auto firstNumber = static_cast<std::uint8_t>(tracks.front().number);
        const auto lastNumber = static_cast<std::uint8_t>(tracks.back().number);
        PutFullEntry(out, s, adrControl, 0xA0, none, 0, Msf{firstNumber, 0x00, 0});
        PutFullEntry(out, s, adrControl, 0xA1, none, 0, Msf{lastNumber, 0, 0});
        PutFullEntry(out, s, adrControl, 0xA2, none, 0, LbaToMsf(state.AfterRunOut(tracks.back())));
        for (const DiscTrack& track : tracks) {
            PutFullEntry(out, s, static_cast<std::uint8_t>(kAdrQ | track.control),
                         static_cast<std::uint8_t>(track.number), none, 0, LbaToMsf(track.start));
        }
        if (state.Traits().writable && session == closed) {
            // B0: where the next session may start and the last possible lead-out.
            const Msf unused{0xFF, 0xFF, 0xFF};
            const std::uint32_t nextArea =
                DiscState::FollowingSessionStart(session, state.AfterRunOut(tracks.back()));
            const bool last = state.complete;
            PutFullEntry(out, s, 0x50, 0xB0, last ? unused : LbaToMsf(nextArea), 1,
                         last ? unused : LbaToMsf(state.Capacity()));
        }
    }
    FinishLength(out);
    return out;
}

std::vector<std::uint8_t> BuildPma(const DiscState& state) {
    std::vector<std::uint8_t> out{0, 0, 0, 0};
    for (const DiscTrack& track : state.ClosedTracks()) {
        PutFullEntry(out, 0, static_cast<std::uint8_t>(kAdrQ | track.control),
                     static_cast<std::uint8_t>(track.number), LbaToMsf(track.End()), 0,
                     LbaToMsf(track.start));
    }
    FinishLength(out);
    return out;
}

std::optional<std::vector<std::uint8_t>> BuildAtip(const DiscState& state) {
    if (state.medium != MediumKind::CdR && state.medium != MediumKind::CdRw) {
        return std::nullopt;
    }
    const bool rewritable = state.medium == MediumKind::CdRw;
    std::vector<std::uint8_t> out(28, 0);
    out[4] = 0xD0; // indicative writing power 5, as dye discs carry it
    out[6] = static_cast<std::uint8_t>(0x80 | (rewritable ? 0x40 : 0));
    const Msf leadIn{static_cast<std::uint8_t>(kAtipLeadInFrames / 4500),
                     static_cast<std::uint8_t>(kAtipLeadInFrames / 75 % 60),
                     static_cast<std::uint8_t>(kAtipLeadInFrames % 75)};
    out[8] = leadIn.minutes;
    out[9] = leadIn.seconds;
    out[10] = leadIn.frames;
    const Msf leadOut = LbaToMsf(state.Capacity());
    out[12] = leadOut.minutes;
    out[13] = leadOut.seconds;
    out[14] = leadOut.frames;
    FinishLength(out);
    return out;
}

} // namespace quarnel::emu
