#pragma once
// Splitting a take into tracks (or files) on silence: the settings of the
// program folder's SoftSet.ini, [Record] SplitSilenceDb= (the level below
// which sound counts as silence, dBFS, default -50), SplitSilenceSeconds=
// (how long it must stay below, default 2.0) and SplitMinTrackSeconds= (the
// shortest track split off, default 30). Splitting is off unless asked for
// (`sondrel-cli record --split-on-silence`, or SplitOnSilence=1).
//
// Values are kept where they can work: the level from -120 to -1 dBFS, the
// silence from 0.1 to 600 s, the shortest track from 4 s (the shortest audio
// track a CD may hold) to 24 hours. A malformed value is the default.

#include <optional>
#include <string>

namespace engine {

struct SplitSettings {
    bool enabled = false;
    double silenceDb = -50.0;
    double silenceSeconds = 2.0;
    double minTrackSeconds = 30.0;
};

// The settings of `iniPath`.
[[nodiscard]] SplitSettings SplitSettingsFrom(const std::string& iniPath);
// The same for the SoftSet.ini of the program folder.
[[nodiscard]] SplitSettings SplitSettingsFromSoftSet();
// "DB,SECONDS,MINTRACK" (each may be left empty to keep `base`'s) over
// `base`, switched on; nothing when the text is malformed.
[[nodiscard]] std::optional<SplitSettings> SplitSettingsOverride(const std::string& text,
                                                                 SplitSettings base);

} // namespace engine
