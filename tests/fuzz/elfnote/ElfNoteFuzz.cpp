// Fuzz target: the version note reader on arbitrary bytes.
#include "util/ElfVersionNote.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string version = util::ReadElfVersionNote(std::span<const std::uint8_t>(data, size));
    // The text comes from inside the input and stops at its NUL.
    if (version.size() > size || version.find('\0') != std::string::npos) {
        __builtin_trap();
    }
    return 0;
}
