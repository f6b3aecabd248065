#pragma once
// Opens the source or sink a backend text names.

#include "platform/wave/BackendChoice.h"
#include "platform/wave/CaptureSource.h"
#include "platform/wave/PlaybackSink.h"

namespace platform::wave {

[[nodiscard]] OpenedSource OpenCaptureSource(const BackendChoice& choice,
                                             const WAVEFORMATEX& format);
[[nodiscard]] OpenedSink OpenPlaybackSink(const BackendChoice& choice, const WAVEFORMATEX& format);

// Whether waveOutGetNumDevs counts the output: an ALSA output only when its PCM
// opens now (a machine without a sound card has none).
[[nodiscard]] bool PlaybackDeviceAvailable(const BackendChoice& choice);

} // namespace platform::wave
