#include "components/quarnel/emu/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

namespace quarnel::emu {

namespace {

// State files, settings and CUE sheets are a few KiB; anything this large is
// not one of them.
constexpr off_t kMaxReadBytes = off_t{16} << 20;

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view text) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    // Plain system calls: the drive replaces its state file after every WRITE.
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    // On storage before it replaces the old file, and the rename itself
    // made lasting through the folder: a power cut leaves one of the two.
    const bool synced = done == text.size() && ::fsync(fd) == 0;
    const bool written = ::close(fd) == 0 && synced;
    return written && ::rename(temporary.c_str(), path.c_str()) == 0 && SyncFolderOf(path);
}

bool SyncFolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

std::optional<std::string> ReadWholeFile(const std::filesystem::path& path, std::string* error) {
    const auto fail = [&](const std::string& why) -> std::optional<std::string> {
        if (error != nullptr) {
            *error = path.string() + ": " + why;
        }
        return std::nullopt;
    };
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? std::nullopt
                               : fail(std::error_code(errno, std::generic_category()).message());
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(S_ISDIR(info.st_mode) ? "is a folder, not a file" : "is not a regular file");
    }
    if (info.st_size > kMaxReadBytes) {
        ::close(fd);
        return fail("is too large");
    }
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (done != text.size()) {
        return fail("cannot be read");
    }
    return text;
}

} // namespace quarnel::emu
