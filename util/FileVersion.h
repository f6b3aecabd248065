#pragma once
// The version text of a program file.

#include <string>

namespace util {

// The version our executables carry in their version note (see
// ElfVersionNote.h), e.g. "1.0.0.1"; empty text for a file without one, an
// empty version, a file that is not a well-formed ELF file, or one that cannot
// be read.
std::string GetFileVersion(const std::string& path);

} // namespace util
