#pragma once
// The WAV take being recorded is kept in the settings (the registry) from its
// start until it is finished: its path and the process recording it. A take
// cut off by a kill or a power cut leaves the entry behind, and the next start
// offers to repair the file's header (see PatchWavSizes). MP3 takes need no
// repair: every frame in the file plays.

#include <optional>
#include <string>

namespace engine {

// Keeps `path` as the running take of this process.
void RememberRunningTake(const std::string& path);
// The take is finished: the entry goes.
void ForgetRunningTake();
// The path of a take whose process ended without finishing it; empty when
// there is none, or when the process that records it still runs.
[[nodiscard]] std::optional<std::string> CutOffTakePath();

} // namespace engine
