#pragma once
// The WAV file of a take: an 80-byte header with placeholder sizes when the
// take starts, the PCM appended by the capture callback, and the real sizes
// patched in when the take is finished. A file whose take never finished
// keeps the placeholders.
//
// The header reserves room for sizes beyond 32 bits (EBU Tech 3306): after
// "RIFF" and "WAVE" comes a JUNK chunk of 28 bytes, then "fmt " and "data".
// A take whose file passes 4 GiB becomes RF64 when it is finished: "RF64"
// with both 32-bit sizes at 0xFFFFFFFF, the JUNK chunk turned into "ds64"
// holding the RIFF size, the data size and the sample frame count in 64
// bits. Shorter takes stay plain RIFF, which every reader takes; readers
// skip the JUNK chunk.

#include <array>
#include <cstdint>
#include <string>

inline constexpr std::size_t kTakeWavHeaderBytes = 80;

// RIFF size and data size written when the file is created (the data size is
// 100,000 CD sectors of 2,352 bytes).
inline constexpr std::uint32_t kWavPlaceholderRiffBytes = 235200044;
inline constexpr std::uint32_t kWavPlaceholderDataBytes = 235200000;

// The header of a take holding `pcmBytes` of 44,100 Hz 16-bit stereo PCM:
// RF64 when `rf64`, else RIFF with the JUNK chunk.
[[nodiscard]] std::array<char, kTakeWavHeaderBytes> MakeTakeWavHeader(std::uint64_t pcmBytes,
                                                                      bool rf64);
// True when a take of `pcmBytes` needs RF64: its RIFF size passes 32 bits.
[[nodiscard]] bool TakeNeedsRf64(std::uint64_t pcmBytes);

// Creates `path` empty (truncating an existing file) and writes the header
// with the placeholder sizes. False when the file cannot be created or
// written.
bool CreateWavFile(const std::string& path);

// Opens the existing `path` for reading and writing and, when it is longer
// than the header, cuts a partial frame off its end and writes the header for
// the sound the file holds (RF64 beyond 4 GiB). False when the file cannot
// be opened or written; true, unchanged, for a file no longer than the
// header.
bool PatchWavSizes(const std::string& path);

// True when `path` is a WAV file laid out as a take's: 44,100 Hz 16-bit
// stereo PCM whose sound starts right after the 80-byte header. Such a file
// left with placeholder sizes by a take that was cut off is repaired by
// PatchWavSizes.
[[nodiscard]] bool IsTakeWavFile(const std::string& path);
