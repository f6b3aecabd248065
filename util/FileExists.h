#pragma once
// Whether a path, possibly with wildcards, names anything in the file system.

namespace util {

// False for a null path and for one that is empty after trimming white space.
// Otherwise searches for the path as given (untrimmed): '*' and '?' are
// wildcards, every other character, '[' and '\' included, stands for itself.
// True if anything matches, a directory included.
bool FileExists(const char* path);

} // namespace util
