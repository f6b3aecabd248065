#pragma once
// What became of each track of a save, and the message that tells the user
// about the tracks that did not come out whole.

#include <cstdint>
#include <string>
#include <vector>

namespace disc {

struct TrackSaveOutcome {
    enum class Result {
        Saved,     // the file holds the whole track (unreadable sectors as silence)
        Cancelled, // the user stopped the save; the unfinished file was deleted
        Failed,    // the file could not be written; the unfinished file was deleted
    };
    std::string number; // as the track list shows it
    std::string path;
    std::uint64_t sectors = 0;
    std::uint64_t unreadableSectors = 0;
    Result result = Result::Saved;
    // Of the audio read, for a saved track.
    std::uint32_t crc32 = 0;
    std::uint32_t accurateRipV1 = 0;
    std::uint32_t accurateRipV2 = 0;
    enum class Verify { NotAsked, Same, Differs };
    Verify verify = Verify::NotAsked; // a second reading of the track, compared
};

// The line a saved track gets on the terminal and in the save's log: its
// number, file, CRC32, AccurateRip v1 and v2 (eight hexadecimal digits each)
// and, when asked, whether a second reading gave the same audio.
std::string SavedTrackLine(const TrackSaveOutcome& outcome);

// One line per track (lines separated by '\n') that failed, has unreadable
// sectors or read differently the second time, naming the track, its file and
// how many sectors are missing; empty when every track is whole.
std::string SaveProblemsText(const std::vector<TrackSaveOutcome>& outcomes);

} // namespace disc
