#include "util/Environment.h"

#include <cstdlib>

namespace util {

std::string EnvironmentValue(const char* name) {
    // The program never changes its environment, so reading it from any thread is safe.
    const char* value = std::getenv(name); // NOLINT(concurrency-mt-unsafe)
    return value == nullptr ? std::string() : std::string(value);
}

std::filesystem::path UserDataFolder() {
    std::filesystem::path dataHome;
    if (const std::string xdg = EnvironmentValue("XDG_DATA_HOME"); xdg.starts_with('/')) {
        dataHome = xdg;
    } else if (const std::string home = EnvironmentValue("HOME"); !home.empty()) {
        dataHome = std::filesystem::path(home) / ".local" / "share";
    } else {
        std::error_code error;
        dataHome = std::filesystem::temp_directory_path(error);
    }
    return dataHome / "sondrel";
}

} // namespace util
