#include "util/TempFileName.h"

#include "util/Environment.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <sys/stat.h>

namespace util {

namespace {

// The seed of the next name. Relaxed ordering: only the uniqueness of each
// value matters, and fetch_add guarantees that on its own.
std::atomic<std::uint32_t> g_tempNameSeed{1000};

// More attempts than there are distinct random numbers (0 to 32767), so a
// folder full of our names ends the search instead of looping for ever.
constexpr int kMaxAttempts = 0x10000;

bool IsDirectory(const char* path) {
    struct stat info {};
    return path != nullptr && *path != '\0' && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

std::string TempFolder() {
    const std::string tmpdir = EnvironmentValue("TMPDIR");
    std::string folder = IsDirectory(tmpdir.c_str()) ? tmpdir : IsDirectory("/tmp") ? "/tmp" : "";
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

// The first rand() after srand(seed) in the classic C runtime.
int FirstRandom(std::uint32_t seed) {
    const std::uint32_t state = seed * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

bool NameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

} // namespace

std::string MakeTempFileName(const std::string& extension) {
    const std::string folder = TempFolder();
    if (folder.empty()) {
        return {};
    }
    for (int attempt = 0; attempt < kMaxAttempts; ++attempt) {
        const std::uint32_t seed = g_tempNameSeed.fetch_add(1, std::memory_order_relaxed);
        std::string name = folder;
        name += "Temp";
        name += std::to_string(FirstRandom(seed));
        name += '.';
        name += extension;
        if (!NameTaken(name)) {
            return name;
        }
    }
    return {};
}

} // namespace util
