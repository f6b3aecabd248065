#pragma once
// Where the encoder puts the bytes of one output file. The encoder appends
// frames as they are produced and, at the end, may overwrite bytes it wrote
// earlier (the summary frame at the start of an MP3). Tests substitute an
// output that fails on purpose.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vesplin {

class IEncodeOutput {
public:
    virtual ~IEncodeOutput() = default;

    // Creates (or empties) the file at `path` for writing; false on failure.
    virtual bool Create(const std::string& path) = 0;
    // Appends `size` bytes. On false the file ends after the bytes of the
    // last append that succeeded.
    virtual bool Append(const std::uint8_t* data, std::size_t size) = 0;
    // Overwrites `size` bytes at `offset`, which lie inside what was appended.
    virtual bool WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) = 0;
    // Closes the file; false when the system reports that it could not
    // complete the writes. Does nothing when no file is open.
    virtual bool Close() = 0;
};

} // namespace vesplin
