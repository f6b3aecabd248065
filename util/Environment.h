#pragma once
// The program's environment and the per-user folders derived from it.

#include <filesystem>
#include <string>

namespace util {

// The value of an environment variable, empty when it is not set.
std::string EnvironmentValue(const char* name);

// Sondrel's folder for the user's data: $XDG_DATA_HOME/sondrel when that is an
// absolute path, else ~/.local/share/sondrel, else a folder in the system's
// temporary folder. Not created here.
std::filesystem::path UserDataFolder();

// Sondrel's folder for the user's settings: $XDG_CONFIG_HOME/sondrel when that
// is an absolute path, else ~/.config/sondrel, else a folder in the system's
// temporary folder. Not created here.
std::filesystem::path UserConfigFolder();

} // namespace util
