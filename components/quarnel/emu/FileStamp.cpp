#include "components/quarnel/emu/FileStamp.h"

#include <sys/stat.h>

namespace quarnel::emu {

std::optional<FileStamp> StampOf(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    return FileStamp{
        static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
        static_cast<std::int64_t>(info.st_size),
        static_cast<std::int64_t>(info.st_mtim.tv_sec) * kNsPerSecond + info.st_mtim.tv_nsec};
}

} // namespace quarnel::emu
