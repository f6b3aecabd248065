#pragma once
// Sizes of CD audio that capture, the waveform display, the feed queues and
// the CD writer agree on. Constants only, so every layer may include it.

#include <cstdint>

// One CD audio sector: 588 stereo frames of 16-bit samples.
inline constexpr std::uint32_t kCdAudioSectorBytes = 2352;
// One capture buffer, which is also one CD write: 16 sectors, about 0.213 s.
inline constexpr std::uint32_t kCaptureBufferSectors = 16;
inline constexpr std::uint32_t kCaptureBufferBytes = kCaptureBufferSectors * kCdAudioSectorBytes;
