#pragma once

namespace platform::wave {

// The program's embedded default: on a machine with nothing to capture from
// (no sound card, no sound server) and no input chosen, it records the
// virtual tone input, and with no playback device it plays to the null
// output, so that every feature still runs.

// Sets SONDREL_AUDIO_INPUT / SONDREL_AUDIO_OUTPUT for this process where
// they are unset and the configured ALSA device is missing, and says so on
// stderr. Call once at start, before any thread is started.
void UseVirtualAudioWhereNoneFound();

} // namespace platform::wave
