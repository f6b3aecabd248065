#pragma once
// The 44-byte header of a canonical PCM WAV file, and finding the format and
// the audio of an existing WAV file (any chunk order, extra chunks skipped).
// Shared by the wave service's file input and output, the WAV file of a take
// and the encoder's saved tracks.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace util {

inline constexpr std::size_t kWavHeaderBytes = 44;

// The fields of the "fmt " chunk of a PCM WAV file.
struct WavFormat {
    std::uint16_t formatTag = 0;
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t bytesPerSecond = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
};

// 44,100 Hz, 16-bit little-endian stereo PCM: the format of CD audio.
inline constexpr WavFormat kCdAudioWavFormat{1, 2, 44100, 176400, 4, 16};

struct WavLayout {
    WavFormat format;
    long dataOffset = 0;         // file position of the first audio byte
    std::uint32_t dataBytes = 0; // audio bytes, cut to what the file holds
};

[[nodiscard]] std::array<char, kWavHeaderBytes> MakeWavHeader(const WavFormat& format,
                                                              std::uint32_t dataBytes);

// Empty when the file is not a RIFF/WAVE file with a "fmt " and a "data" chunk.
[[nodiscard]] std::optional<WavLayout> ReadWavLayout(std::FILE* file);

} // namespace util
