#include "util/Environment.h"

#include <cstdlib>

namespace util {

std::string EnvironmentValue(const char* name) {
    // The program never changes its environment, so reading it from any thread is safe.
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe)
    return value == nullptr ? std::string() : std::string(value);
}

namespace {

// `xdgVariable` when it holds an absolute path, else `homeRelative` inside the
// home folder, else the temporary folder; with "sondrel" added.
std::filesystem::path SondrelFolderIn(const char* xdgVariable, const char* homeRelative) {
    std::filesystem::path base;
    if (const std::string xdg = EnvironmentValue(xdgVariable); xdg.starts_with('/')) {
        base = xdg;
    } else if (const std::string home = EnvironmentValue("HOME"); !home.empty()) {
        base = std::filesystem::path(home) / homeRelative;
    } else {
        std::error_code error;
        base = std::filesystem::temp_directory_path(error);
    }
    return base / "sondrel";
}

} // namespace

std::filesystem::path UserDataFolder() {
    return SondrelFolderIn("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path UserConfigFolder() {
    return SondrelFolderIn("XDG_CONFIG_HOME", ".config");
}

} // namespace util
