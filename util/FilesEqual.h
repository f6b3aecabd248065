#pragma once
// Byte-for-byte comparison of two files.

#include <string>

namespace util {

// False when the sizes differ. True when either file cannot be opened (the
// sizes then matched, typically both 0). Otherwise compares the contents in
// blocks of 2048 bytes; two empty files are equal. A read error, or a file
// that changes length during the comparison, gives false.
bool FilesEqual(const std::string& first, const std::string& second);

} // namespace util
