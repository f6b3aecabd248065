#include "util/ModuleFolder.h"

#include <cerrno>
#include <cstring>
#include <limits.h>
#include <unistd.h>

namespace util {

namespace {

// The full path of the running executable, or empty text.
std::string ExecutablePath() {
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

} // namespace

int GetModuleFolder(char* buffer, unsigned sizeBytes) {
    std::memset(buffer, 0, sizeBytes);
    const std::string path = ExecutablePath();
    if (path.empty()) {
        return errno != 0 ? errno : ENOENT;
    }
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    if (folder.size() + 1 > sizeBytes) {
        return ERANGE;
    }
    folder.copy(buffer, folder.size()); // the buffer was zeroed: the text ends in NUL
    return 0;
}

std::string GetModuleFolder() {
    const std::string path = ExecutablePath();
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

} // namespace util
