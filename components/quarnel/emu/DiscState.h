#pragma once
// The disc in the emulated writer as a real drive keeps it: the medium, its
// tracks and sessions, the track being written, and the tray. Pure data and
// the addresses that follow from it; the files live elsewhere.

#include "components/quarnel/emu/Medium.h"
#include "components/quarnel/mmc/Msf.h"
#include "util/ProcessIdentity.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::emu {

struct DiscTrack {
    std::uint32_t number = 0;
    std::uint32_t session = 0;
    std::uint32_t start = 0;  // first block
    std::uint32_t length = 0; // blocks written
    std::uint8_t control = 0; // sub-channel Q control nibble: 4 = data track
    std::string title;
    std::string performer;

    [[nodiscard]] std::uint32_t End() const { return start + length; }
};

// Blocks between the end of a session's last track and the start of the next
// session's first one: lead-out (6,750 after the first session, 2,250 after
// later ones), lead-in 4,500 and the first track's 150-block pause.
inline constexpr std::uint32_t kFirstLeadOutBlocks = 6750;
inline constexpr std::uint32_t kLaterLeadOutBlocks = 2250;
inline constexpr std::uint32_t kLeadInBlocks = 4500;
inline constexpr std::uint32_t kPauseBlocks = 150;
// Lead-in start of a blank CD-R or CD-RW as its ATIP gives it: 97:26:66, in
// frames from 00:00:00.
inline constexpr std::uint32_t kAtipLeadInFrames = (97 * 60 + 26) * 75 + 66;

class DiscState {
public:
    MediumKind medium = MediumKind::None;
    bool trayOpen = false;
    bool locked = false;
    util::ProcessIdentity lockOwner; // who locked the tray, while locked
    std::vector<DiscTrack> tracks;   // in disc order; the last one is open while trackOpen
    bool trackOpen = false;
    bool trackRuined = false; // the open track lost its stream and takes no more data
    std::uint32_t closedSessions = 0;
    bool complete = false;  // finalised: no more sessions
    bool formatted = false; // DVD+RW and DVD-RAM
    // Pressed CD: blocks in its image. Writable medium: a capacity smaller
    // than its kind's (a short disc that fills in seconds); 0 = the kind's own.
    std::uint32_t imageBlocks = 0;
    std::string catalog;
    std::string title;
    std::string performer;

    [[nodiscard]] const MediumTraits& Traits() const { return TraitsOf(medium); }
    [[nodiscard]] bool HasMedium() const { return medium != MediumKind::None; }
    // The last possible lead-out start: no block at or beyond it can be written.
    [[nodiscard]] std::uint32_t Capacity() const;
    // The session that takes the next track (closedSessions + 1 unless complete).
    [[nodiscard]] std::uint32_t OpenSession() const { return closedSessions + 1; }
    [[nodiscard]] std::uint32_t SessionStart(std::uint32_t session) const;
    // Where the session after `session` starts when `session` ends at `sessionEnd`.
    [[nodiscard]] static std::uint32_t FollowingSessionStart(std::uint32_t session,
                                                             std::uint32_t sessionEnd);
    // Where a track's run-out ends (its end while it is open, or on media
    // without run-out): the lead-out or the next track's pre-gap starts there.
    [[nodiscard]] std::uint32_t AfterRunOut(const DiscTrack& track) const;
    // The first block of a track's pre-gap (its start when it has none).
    [[nodiscard]] std::uint32_t PregapStart(const DiscTrack& track) const;
    // Where the next TAO write must start; the end of the open track while one is open.
    [[nodiscard]] std::uint32_t NextWritable() const;
    [[nodiscard]] std::uint32_t NextTrackNumber() const;
    [[nodiscard]] std::uint32_t FreeBlocks() const;
    // Tracks that a table of contents lists: every closed track.
    [[nodiscard]] std::vector<DiscTrack> ClosedTracks() const;
    [[nodiscard]] std::vector<DiscTrack> TracksOfSession(std::uint32_t session) const;
    // The session count that disc information reports (the empty or incomplete
    // session that takes the next track counts while the disc is not complete).
    [[nodiscard]] std::uint32_t SessionCount() const;
    [[nodiscard]] bool OpenSessionHasTracks() const;
    // True when a block at the address holds data that READ CD may return
    // (a track, its run-out once closed, and the pre-gap before it).
    [[nodiscard]] bool Readable(std::uint32_t lba) const;
    [[nodiscard]] bool Blank() const { return tracks.empty(); }

    // Back to a blank medium of the same kind (after a blank or format).
    void Erase();

private:
    // Track-at-once writing leaves run-out and pre-gaps between tracks.
    [[nodiscard]] bool HasTrackGaps() const { return Traits().cd && Traits().writable; }
};

} // namespace quarnel::emu
