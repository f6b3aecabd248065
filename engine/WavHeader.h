#pragma once
// The WAV file of a take: a 44-byte header with placeholder sizes when the take
// starts, the PCM appended by the capture callback, and the real sizes patched
// in when the take is finished. A file whose take never finished keeps the
// placeholders.

#include <cstdint>
#include <string>

// RIFF size and data size written when the file is created (the data size is
// 100,000 CD sectors of 2,352 bytes).
inline constexpr std::uint32_t kWavPlaceholderRiffBytes = 235200044;
inline constexpr std::uint32_t kWavPlaceholderDataBytes = 235200000;

// Creates `path` empty (truncating an existing file) and writes the header
// with the placeholder sizes for 44,100 Hz 16-bit stereo PCM. False when the
// file cannot be created or written.
bool CreateWavFile(const std::string& path);

// Opens the existing `path` for reading and writing and, when it is longer
// than 44 bytes, cuts a partial frame off its end and writes (length - 8) at
// offset 4 and (length - 44) at offset 40. False when the file cannot be opened or written; true,
// unchanged, for a file of 44 bytes or less.
bool PatchWavSizes(const std::string& path);

// True when `path` is a WAV file laid out as a take's: 44,100 Hz 16-bit
// stereo PCM whose sound starts right after the 44-byte header. Such a file
// left with placeholder sizes by a take that was cut off is repaired by
// PatchWavSizes.
[[nodiscard]] bool IsTakeWavFile(const std::string& path);
