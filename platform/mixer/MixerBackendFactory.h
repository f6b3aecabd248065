#pragma once

#include "platform/mixer/MixerBackend.h"

#include <memory>

namespace platform::mixer {

// The backend for the mixer of the default input, or none:
// - the virtual mixer when SONDREL_MIXER is "virtual", or when the virtual input is chosen
//   (SONDREL_AUDIO_INPUT is "tone", "silence" or "file:..." );
// - SONDREL_MIXER "pulse" or "alsa" forces that backend;
// - otherwise the sound server when one answers, else the ALSA mixer of the capture card
//   (device from SONDREL_MIXER_DEVICE, default "default").
std::unique_ptr<MixerBackend> OpenMixerBackend();

} // namespace platform::mixer
