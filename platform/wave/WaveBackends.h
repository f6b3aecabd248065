#pragma once
// Opens the source or sink a backend text names.

#include "platform/wave/BackendChoice.h"
#include "platform/wave/CaptureSource.h"
#include "platform/wave/PlaybackSink.h"

[[nodiscard]] OpenedSource openCaptureSource(const BackendChoice& choice,
                                             const WAVEFORMATEX& format);
[[nodiscard]] OpenedSink openPlaybackSink(const BackendChoice& choice, const WAVEFORMATEX& format);

// Whether waveOutGetNumDevs counts the output: an ALSA output only when its PCM
// opens now (a machine without a sound card has none).
[[nodiscard]] bool playbackDeviceAvailable(const BackendChoice& choice);
