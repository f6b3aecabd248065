#pragma once
// The file version stamped into our executables: an ELF note of owner
// "Sondrel" and type 1 (NT_VERSION) whose descriptor is the NUL-terminated
// version text, such as "1.0.0.1".

#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace util {

// Fills `out` with the image's bytes from `offset` on; false when the image
// does not hold all of them. Exceptions it throws pass through the reader.
using ElfReadAt = std::function<bool(std::uint64_t offset, std::span<std::uint8_t> out)>;

// Searches the SHT_NOTE sections of a 32- or 64-bit ELF image of either byte
// order for the version note and returns its text. Anything else gives empty
// text: not ELF, truncated or inconsistent headers, no such note, an empty
// descriptor or one without a terminating NUL. Reads only through `readAt`.
std::string ReadElfVersionNote(const ElfReadAt& readAt);

// The same over an image held in memory.
std::string ReadElfVersionNote(std::span<const std::uint8_t> image);

} // namespace util
