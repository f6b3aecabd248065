#include "util/ModuleFolder.h"

#include "util/Environment.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits.h>
#include <unistd.h>

namespace util {

namespace {

constexpr const char* kSettingsFileName = "SoftSet.ini";

// The full path of the running executable, or empty text.
std::string ExecutablePath() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

// `<prefix>/<relative>/` of the installation the running executable is in
// (`<prefix>/bin/<program>`); empty when the executable's path is unknown.
std::string InstalledFolder(const char* relative) {
    const std::string path = ExecutablePath();
    if (path.empty()) {
        return std::string();
    }
    const std::filesystem::path prefix = std::filesystem::path(path).parent_path().parent_path();
    return ((prefix / relative) / "").string();
}

} // namespace

int GetModuleFolder(char* buffer, unsigned sizeBytes) {
    std::memset(buffer, 0, sizeBytes);
    const std::string folder = GetModuleFolder();
    if (folder.empty()) {
        return errno != 0 ? errno : ENOENT;
    }
    if (folder.size() + 1 > sizeBytes) {
        return ERANGE;
    }
    folder.copy(buffer, folder.size()); // the buffer was zeroed: the text ends in NUL
    return 0;
}

std::string GetModuleFolder() {
    return ProgramInstalled() ? InstalledFolder(SONDREL_INSTALL_DATA_DIR) : ExecutableFolder();
}

std::string ExecutableFolder() {
    const std::string path = ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool ProgramInstalled() {
    // A build folder has no share/sondrel/ beside the folder of its executables.
    const std::string data = InstalledFolder(SONDREL_INSTALL_DATA_DIR);
    std::error_code error;
    return !data.empty() && std::filesystem::is_directory(data, error);
}

std::string ProgramLibraryFolder() {
    return ProgramInstalled() ? InstalledFolder(SONDREL_INSTALL_LIB_DIR) : ExecutableFolder();
}

std::string ProgramWorkFolder() {
    return ProgramInstalled() ? (UserDataFolder() / "").string() : GetModuleFolder();
}

std::string SettingsFile(const std::string& programFolder) {
    if (ProgramInstalled() && programFolder == GetModuleFolder()) {
        const std::filesystem::path own = UserConfigFolder() / kSettingsFileName;
        std::error_code error;
        if (std::filesystem::is_regular_file(own, error)) {
            return own.string();
        }
    }
    return programFolder + kSettingsFileName;
}

} // namespace util
