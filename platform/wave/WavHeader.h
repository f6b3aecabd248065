#pragma once
// The 44-byte header of a canonical PCM WAV file, and finding the format and
// the audio of an existing WAV file (any chunk order, extra chunks skipped).

#include "platform/wave/WaveTypes.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

inline constexpr std::size_t kWavHeaderBytes = 44;

struct WavLayout {
    WAVEFORMATEX format;
    long dataOffset = 0;         // file position of the first audio byte
    std::uint32_t dataBytes = 0; // audio bytes, cut to what the file holds
};

[[nodiscard]] std::array<char, kWavHeaderBytes> makeWavHeader(const WAVEFORMATEX& format,
                                                              std::uint32_t dataBytes);

// Empty when the file is not a RIFF/WAVE file with a "fmt " and a "data" chunk.
[[nodiscard]] std::optional<WavLayout> readWavLayout(std::FILE* file);
