#pragma once
// A file name made from a disc's title, safe to create inside the chosen
// folder whatever the disc (or a CUE sheet) calls its track.

#include <string>

namespace disc {

// The longest name made, in bytes, before the extension and "-a" suffixes:
// well inside the 255 bytes a Linux file name may have.
inline constexpr std::size_t kMaxNameBytes = 200;

// `title` with path separators ('/' and '\') turned into '_', control
// characters dropped, leading dots, dashes and blanks and trailing blanks and
// dots removed, and cut to kMaxNameBytes without splitting a UTF-8 character.
// Empty when nothing is left.
std::string SafeFileName(const std::string& title);

} // namespace disc
