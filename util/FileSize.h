#pragma once
// The size of a file, as a large file.

#include <cstdint>
#include <string>

namespace util {

// The file's length in bytes; 0 when it cannot be opened for reading.
std::uint64_t FileSize(const std::string& path);

} // namespace util
