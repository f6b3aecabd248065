#pragma once
// Checks on the PCM formats the wave service accepts.

#include "platform/wave/WaveTypes.h"
#include "util/WavHeader.h"

namespace platform::wave {

// 44,100 Hz, 16-bit little-endian, stereo: what the capture and playback code
// ask for and the only format the virtual inputs produce.
[[nodiscard]] WAVEFORMATEX CdAudioFormat();

// Integer PCM, 1 or 2 channels, 8 or 16 bits, 8,000 to 192,000 Hz, with block
// alignment and byte rate consistent with those.
[[nodiscard]] bool IsUsablePcmFormat(const WAVEFORMATEX& format);

[[nodiscard]] bool IsSameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b);

// The same format as a WAV file's "fmt " chunk holds it, and back.
[[nodiscard]] util::WavFormat ToWavFormat(const WAVEFORMATEX& format);
[[nodiscard]] WAVEFORMATEX FromWavFormat(const util::WavFormat& format);

} // namespace platform::wave
