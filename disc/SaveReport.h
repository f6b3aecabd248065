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
};

// One line per track (lines separated by '\n') that failed or has unreadable sectors, naming the
// track, its file and how many sectors are missing; empty when every track is whole.
std::string SaveProblemsText(const std::vector<TrackSaveOutcome>& outcomes);

} // namespace disc
