#pragma once
// Profile (INI) text looked up and changed with the rules of the Windows
// profile-string functions:
// - section and key names compare without regard to ASCII case;
// - blanks and tabs around names and values are ignored;
// - one pair of matching quotes ('...' or "...") around a value is removed;
// - of a key given twice in a section the first value counts; a section given
//   twice adds its keys to the first one, whose values win;
// - a line whose first non-blank character is ';' (or '#') is a comment, while
//   a ';' inside a value belongs to the value;
// - a UTF-8 byte-order mark is skipped, and CRLF, LF and CR all end a line;
// - a NUL byte ends the text of its line; the following lines still count.
// Values are handed out as a Windows caller with a kProfileBufferBytes buffer
// sees them: at most kProfileBufferBytes - 1 bytes, cut at a UTF-8 character
// boundary.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kProfileBufferBytes = 260;

// The value of `key` in `section` of `text`, else `defaultValue` without its
// trailing blanks. An empty section or key name finds nothing.
std::string ReadProfileText(std::string_view text, std::string_view section, std::string_view key,
                            std::string_view defaultValue);

// `text` with `key` of `section` set to `value`: an existing key gets the new
// value in its place (repeats of it are dropped), a new key goes to the end of
// its section, a new section to the end of the text. Other sections, keys and
// their comments are kept; spacing is normalised to "key=value". Returns
// nothing when a name or the value cannot be stored on one line: empty names,
// names with blanks at either end, line breaks or NUL anywhere, ']' in the
// section, '=' in the key, a key starting with ';', '#' or '['.
std::optional<std::string> WriteProfileText(std::string_view text, std::string_view section,
                                            std::string_view key, std::string_view value);

} // namespace platform
