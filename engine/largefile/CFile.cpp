#include "engine/largefile/CFile.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace engine {

namespace {

constexpr unsigned kAccessMask = CFile::modeWrite | CFile::modeReadWrite;
constexpr unsigned kKnownFlags = CFile::modeWrite | CFile::modeReadWrite | CFile::shareDenyNone |
                                 CFile::modeCreate | CFile::modeNoTruncate | CFile::typeBinary;

// The open(2) flags for `openFlags`, or -1 when the combination is invalid.
int PosixFlags(unsigned openFlags) {
    if ((openFlags & ~kKnownFlags) != 0 || (openFlags & kAccessMask) == kAccessMask) {
        return -1;
    }
    int flags = O_CLOEXEC;
    switch (openFlags & kAccessMask) {
    case CFile::modeWrite:
        flags |= O_WRONLY;
        break;
    case CFile::modeReadWrite:
        flags |= O_RDWR;
        break;
    default:
        flags |= O_RDONLY;
        break;
    }
    if ((openFlags & CFile::modeCreate) != 0) {
        flags |= O_CREAT;
        if ((openFlags & CFile::modeNoTruncate) == 0) {
            flags |= O_TRUNC;
        }
    }
    return flags;
}

int Whence(unsigned from) {
    switch (from) {
    case CFile::begin:
        return SEEK_SET;
    case CFile::current:
        return SEEK_CUR;
    case CFile::end:
        return SEEK_END;
    default:
        return -1;
    }
}

std::uint32_t Narrow(std::uint64_t value) {
    return static_cast<std::uint32_t>(value);
}

// Opens `path` as a file that is not a directory; -1 with `osError` set when
// that fails. O_NONBLOCK serves the open call only, so that opening a FIFO
// does not wait for its other end; reads and writes block as usual.
int OpenDescriptor(const std::string& path, int flags, int& osError) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        osError = errno;
        return -1;
    }
    struct stat info {};
    const int status = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &info) != 0 || status == -1 ||
        ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) != 0) {
        osError = errno;
    } else if (S_ISDIR(info.st_mode)) {
        osError = EISDIR;
    } else {
        return fd;
    }
    ::close(fd);
    return -1;
}

constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();

// Repeats `step` (a read(2) or write(2) of the bytes from `done` on) until
// `count` bytes have moved or a step moves none, retrying interrupted calls.
// Returns the bytes moved; a failure's errno is left in `osError`.
template <typename Step> unsigned Transfer(unsigned count, int& osError, Step step) {
    unsigned done = 0;
    while (done < count) {
        const ssize_t moved = step(done);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved < 0) {
            osError = errno;
            break;
        }
        if (moved == 0) {
            break;
        }
        done += static_cast<unsigned>(moved);
    }
    return done;
}

} // namespace

CFile::CFile(const std::string& path, unsigned openFlags) {
    OpenOrThrow(path, openFlags);
}

CFile::~CFile() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CFile::Open(const std::string& path, unsigned openFlags, CFileException* error) {
    if (m_fd >= 0) {
        // Opening over an open file would leak its descriptor.
        if (error != nullptr) {
            *error = CFileException(EBUSY, path);
        }
        return false;
    }
    SetFilePath(path);
    int osError = EINVAL;
    const int flags = PosixFlags(openFlags);
    if (flags != -1) {
        m_fd = OpenDescriptor(path, flags, osError);
    }
    if (m_fd < 0) {
        if (error != nullptr) {
            *error = CFileException(osError, GetFilePath());
        }
        return false;
    }
    return true;
}

void CFile::Close() {
    RequireOpen();
    const int fd = m_fd;
    m_fd = -1;
    // The descriptor is gone even when close reports an error, so it is never
    // closed twice.
    if (::close(fd) != 0 && errno != EINTR) {
        Fail(errno);
    }
}

unsigned CFile::Read(void* buffer, unsigned count) {
    RequireOpen();
    auto* bytes = static_cast<unsigned char*>(buffer);
    int osError = 0;
    const unsigned done = Transfer(
        count, osError, [&](unsigned from) { return ::read(m_fd, bytes + from, count - from); });
    if (osError != 0) {
        Fail(osError);
    }
    return done;
}

void CFile::Write(const void* buffer, unsigned count) {
    RequireOpen();
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    int osError = 0;
    const unsigned done = Transfer(
        count, osError, [&](unsigned from) { return ::write(m_fd, bytes + from, count - from); });
    if (osError != 0 || done < count) {
        // A write that moves nothing without an error is a device giving up.
        Fail(osError != 0 ? osError : EIO);
    }
}

std::uint32_t CFile::Seek(std::int32_t offset, unsigned from) {
    const std::uint64_t before = PositionRaw();
    const std::uint64_t after = SeekRaw(offset, from);
    if (after > kMax32) {
        SeekRaw(static_cast<std::int64_t>(before), begin);
        Fail(EOVERFLOW);
    }
    return Narrow(after);
}

std::uint32_t CFile::GetLength() const {
    const std::uint64_t length = LengthRaw();
    if (length > kMax32) {
        Fail(EOVERFLOW);
    }
    return Narrow(length);
}

std::uint32_t CFile::GetPosition() const {
    const std::uint64_t position = PositionRaw();
    if (position > kMax32) {
        Fail(EOVERFLOW);
    }
    return Narrow(position);
}

void CFile::Flush() {
    RequireOpen();
    if (::fsync(m_fd) != 0) {
        Fail(errno);
    }
}

void CFile::SetFilePath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    m_strFilePath = ec ? path : absolute.lexically_normal().string();
}

std::uint64_t CFile::SeekRaw(std::int64_t offset, unsigned from) {
    RequireOpen();
    const int whence = Whence(from);
    if (whence < 0) {
        Fail(EINVAL);
    }
    const off_t position = ::lseek(m_fd, static_cast<off_t>(offset), whence);
    if (position < 0) {
        Fail(errno);
    }
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CFile::PositionRaw() const {
    RequireOpen();
    const off_t position = ::lseek(m_fd, 0, SEEK_CUR);
    if (position < 0) {
        Fail(errno);
    }
    return static_cast<std::uint64_t>(position);
}

std::uint64_t CFile::LengthRaw() const {
    RequireOpen();
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        Fail(errno);
    }
    return static_cast<std::uint64_t>(info.st_size);
}

void CFile::OpenOrThrow(const std::string& path, unsigned openFlags) {
    CFileException error(0, path);
    if (!Open(path, openFlags, &error)) {
        throw error;
    }
}

void CFile::Fail(int osError) const {
    throw CFileException(osError, m_strFilePath);
}

void CFile::RequireOpen() const {
    if (m_fd < 0) {
        Fail(EBADF);
    }
}

} // namespace engine
