#include "disc/SaveReport.h"

#include <cstdio>

namespace disc {

std::string SavedTrackLine(const TrackSaveOutcome& outcome) {
    char sums[96];
    std::snprintf(sums, sizeof sums, "CRC32 %08x  AccurateRip v1 %08x v2 %08x",
                  static_cast<unsigned>(outcome.crc32),
                  static_cast<unsigned>(outcome.accurateRipV1),
                  static_cast<unsigned>(outcome.accurateRipV2));
    std::string line = "Track " + outcome.number + "  \"" + outcome.path + "\"  " + sums;
    if (outcome.verify == TrackSaveOutcome::Verify::Same) {
        line += "  verified";
    } else if (outcome.verify == TrackSaveOutcome::Verify::Differs) {
        line += "  READINGS DIFFER";
    }
    return line;
}

std::string SaveProblemsText(const std::vector<TrackSaveOutcome>& outcomes) {
    std::string text;
    for (const TrackSaveOutcome& outcome : outcomes) {
        if (!text.empty() && text.back() != '\n') {
            text += '\n';
        }
        if (outcome.result == TrackSaveOutcome::Result::Failed) {
            text += "Track " + outcome.number + ": \"" + outcome.path +
                    "\" could not be written completely (is the disk full?); the unfinished "
                    "file was deleted.";
        } else if (outcome.verify == TrackSaveOutcome::Verify::Differs) {
            text += "Track " + outcome.number + ": a second reading differs from the first; \"" +
                    outcome.path + "\" may hold read errors.";
        } else if (outcome.result == TrackSaveOutcome::Result::Saved &&
                   outcome.unreadableSectors > 0) {
            text += "Track " + outcome.number + ": " + std::to_string(outcome.unreadableSectors) +
                    " of " + std::to_string(outcome.sectors) +
                    " sectors could not be read and are silence in \"" + outcome.path + "\".";
        }
    }
    return text;
}

} // namespace disc
