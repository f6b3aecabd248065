#pragma once
// The profile-string functions of the program: a value of an INI file read or
// written by section and key, with the rules set out in ProfileText.h.

#include <string>
#include <string_view>

namespace platform {

// The value of `key` in `section` of the file at `filePath`, at most
// kProfileBufferBytes - 1 bytes. A missing or unreadable file (a folder, a
// device), section or key gives `defaultValue` without its trailing blanks.
std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, const std::string& filePath);

// Sets `key` of `section` in the file at `filePath` to `value`, creating the
// file, the section and the key as needed and keeping the rest of the file.
// Returns false, leaving the file as it was, when the names or the value
// cannot be stored (see WriteProfileText) or the file cannot be read or
// written; a missing folder is not created.
bool WritePrivateProfileString(std::string_view section, std::string_view key,
                               std::string_view value, const std::string& filePath);

} // namespace platform
