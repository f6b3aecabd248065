#include "platform/wave/VirtualAudioFallback.h"

#include "platform/wave/AlsaPcm.h"
#include "platform/wave/CaptureDevices.h"
#include "platform/wave/WaveSettings.h"
#include "util/Environment.h"

#include <cstdio>
#include <cstdlib>

namespace platform::wave {

void UseVirtualAudioWhereNoneFound() {
    const WaveBackends backends = CurrentWaveBackends();
    // setenv is safe here: no other thread runs yet.
    if (util::EnvironmentValue("SONDREL_AUDIO_INPUT").empty() &&
        ListCaptureDevices(backends.input).empty()) {
        setenv("SONDREL_AUDIO_INPUT", "tone", 1); // NOLINT(concurrency-mt-unsafe)
        std::fprintf(stderr, "Sondrel: no sound input found; recording the virtual tone input\n");
    }
    if (util::EnvironmentValue("SONDREL_AUDIO_OUTPUT").empty() && backends.output &&
        !backends.output->IsVirtual() &&
        !CanOpenAlsaPcm(backends.output->argument, SND_PCM_STREAM_PLAYBACK)) {
        setenv("SONDREL_AUDIO_OUTPUT", "null", 1); // NOLINT(concurrency-mt-unsafe)
        std::fprintf(stderr, "Sondrel: no sound output found; playing to the null output\n");
    }
}

} // namespace platform::wave
