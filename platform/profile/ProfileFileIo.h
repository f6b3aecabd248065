#pragma once
// Whole-file reading and writing for profile files. Only regular files are
// read or written: a directory, a device or a pipe is refused at once, so a
// wrong path can neither hang the caller nor make it read without end.

#include <string>
#include <string_view>

namespace platform {

enum class ProfileFileState {
    kRead,     // the file was read into `bytes`
    kMissing,  // no such file (or a folder on the way is missing)
    kUnusable, // it exists but is not a readable regular file of sensible size
};

// Reads the whole file at `path` into `bytes` (emptied first).
ProfileFileState ReadProfileFile(const std::string& path, std::string& bytes);

// Creates or truncates the regular file at `path` and writes `bytes` to it.
// Returns false when the file cannot be opened or not all bytes were written.
bool WriteProfileFile(const std::string& path, std::string_view bytes);

// Largest profile file that is read: settings files are a few kilobytes.
inline constexpr std::size_t kProfileFileMaxBytes = 16u * 1024u * 1024u;

} // namespace platform
