#pragma once
// The program folder: the folder of the running executable, with a trailing '/'.

#include <string>

namespace util {

// Zeroes `buffer` over `sizeBytes`, then stores the folder there. Returns 0, or
// the system error code when the executable's path cannot be read (ERANGE when
// the buffer is too small).
int GetModuleFolder(char* buffer, unsigned sizeBytes);

// The folder as text; empty when the executable's path cannot be read.
std::string GetModuleFolder();

} // namespace util
