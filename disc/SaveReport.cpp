#include "disc/SaveReport.h"

namespace disc {

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
