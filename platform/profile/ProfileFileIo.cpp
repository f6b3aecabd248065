#include "platform/profile/ProfileFileIo.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Owns one file descriptor.
struct FileDescriptor {
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int m_fd = -1;
};

bool IsRegularFile(int fd) {
    struct stat info = {};
    return fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

ProfileFileState ReadProfileFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    // Non-blocking so that opening a pipe returns at once instead of waiting
    // for a writer; such a file is then refused as not regular.
    const FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (file.m_fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? ProfileFileState::kMissing
                                                   : ProfileFileState::kUnusable;
    }
    if (!IsRegularFile(file.m_fd)) {
        return ProfileFileState::kUnusable;
    }
    char chunk[4096] = {};
    for (;;) {
        const ssize_t got = read(file.m_fd, chunk, sizeof(chunk));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            bytes.clear();
            return ProfileFileState::kUnusable;
        }
        if (got == 0) {
            return ProfileFileState::kRead;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
        if (bytes.size() > kProfileFileMaxBytes) {
            bytes.clear();
            return ProfileFileState::kUnusable;
        }
    }
}

bool WriteProfileFile(const std::string& path, std::string_view bytes) {
    const FileDescriptor file(
        open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666));
    if (file.m_fd < 0 || !IsRegularFile(file.m_fd)) {
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = write(file.m_fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(put);
    }
    return true;
}

} // namespace platform
