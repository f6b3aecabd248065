#include "util/TempFileName.h"

#include "util/Environment.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

enum class Claim { Created, Taken, Failed };

Claim ClaimName(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return Claim::Created;
    }
    // A dangling link makes O_EXCL fail with EEXIST as well.
    return errno == EEXIST ? Claim::Taken : Claim::Failed;
}

} // namespace

std::string CreateTempFile(const std::string& extension) {
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
        switch (ClaimName(name)) {
        case Claim::Created:
            return name;
        case Claim::Failed:
            return {};
        case Claim::Taken:
            break;
        }
    }
    return {};
}

} // namespace util
