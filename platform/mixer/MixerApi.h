#pragma once

// The mixer service: the recording mixer of the default input, over the sound server
// (libpulse), the ALSA hardware mixer or the virtual mixer of the virtual input. There is
// at most one mixer device, identifier 0. Every call is safe from any thread; calls on one
// handle are serialised. No call waits longer than the service's operation timeout.

#include "platform/mixer/MixerTypes.h"

#include <cstdint>

std::uint32_t mixerGetNumDevs();
MMRESULT mixerGetDevCaps(std::uint32_t mixerId, MIXERCAPS* caps, std::uint32_t capsBytes);
// object is a wave-input device (MIXER_OBJECTF_WAVEIN: 0 or WAVE_MAPPER), an open
// wave-input handle (MIXER_OBJECTF_HWAVEIN: any handle, as every capture reads the default
// input whose mixer this is) or a mixer identifier (MIXER_OBJECTF_MIXER).
MMRESULT mixerGetID(std::uintptr_t object, std::uint32_t* mixerId, std::uint32_t objectFlags);
// openFlags is CALLBACK_NULL or CALLBACK_FUNCTION; with a callback, every open handle of
// the device is told of changes, whichever handle or program made them.
MMRESULT mixerOpen(HMIXER* mixer, std::uint32_t mixerId, MixerCallback callback,
                   std::uintptr_t instance, std::uint32_t openFlags);
MMRESULT mixerGetLineInfo(HMIXER mixer, MIXERLINE* line, std::uint32_t infoFlags);
MMRESULT mixerGetLineControls(HMIXER mixer, MIXERLINECONTROLS* controls,
                              std::uint32_t controlsFlags);
MMRESULT mixerGetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS* details,
                                std::uint32_t detailsFlags);
MMRESULT mixerSetControlDetails(HMIXER mixer, const MIXERCONTROLDETAILS* details,
                                std::uint32_t detailsFlags);
// Stops the handle's notifications (waiting for one in progress) and frees the handle.
// Refused with MMSYSERR_HANDLEBUSY from inside the handle's own callback.
MMRESULT mixerClose(HMIXER mixer);
