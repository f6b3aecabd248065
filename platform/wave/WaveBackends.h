#pragma once
// Opens the source or sink a backend text names.

#include "platform/wave/BackendSpec.h"
#include "platform/wave/CaptureSource.h"
#include "platform/wave/PlaybackSink.h"

[[nodiscard]] OpenedSource openCaptureSource(const BackendSpec& spec, const WAVEFORMATEX& format);
[[nodiscard]] OpenedSink openPlaybackSink(const BackendSpec& spec, const WAVEFORMATEX& format);

// Whether waveOutGetNumDevs counts the output: an ALSA output only when its PCM
// opens now (a machine without a sound card has none).
[[nodiscard]] bool playbackDeviceAvailable(const BackendSpec& spec);
