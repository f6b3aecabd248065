#pragma once
// The devices the wave service uses. The program fills WaveSettings from its
// settings; the environment variables SONDREL_AUDIO_INPUT and
// SONDREL_AUDIO_OUTPUT override them (tests and machines without a sound card).

#include "platform/wave/BackendChoice.h"

#include <optional>
#include <string>

namespace platform::wave {

struct WaveSettings {
    std::string input = "alsa:default";
    std::string output = "alsa:default";
};

// An empty member means the text could not be used; opening then fails with
// MMSYSERR_NODRIVER.
struct WaveBackends {
    std::optional<BackendChoice> input;
    std::optional<BackendChoice> output;
};

// The one place where the choice is made: an environment value that is set and
// not empty wins over the setting. Null pointers stand for unset variables.
[[nodiscard]] WaveBackends ChooseWaveBackends(const WaveSettings& settings, const char* envInput,
                                              const char* envOutput);

// Settings used by every later waveInOpen / waveOutOpen of the process.
void SetWaveSettings(const WaveSettings& settings);

// ChooseWaveBackends over the stored settings and the process environment.
[[nodiscard]] WaveBackends CurrentWaveBackends();

} // namespace platform::wave
