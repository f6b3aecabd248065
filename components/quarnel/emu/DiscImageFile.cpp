#include "components/quarnel/emu/DiscImageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace quarnel::emu {

DiscImageFile::~DiscImageFile() {
    Close();
}

bool DiscImageFile::Open(const std::filesystem::path& path) {
    Close();
    // Non-blocking open and a regular file only: a FIFO or device put in the
    // image's place must not hang every read.
    m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    struct stat info {};
    if (m_fd >= 0 && (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        Close();
    }
    return m_fd >= 0;
}

bool DiscImageFile::Sync() {
    return m_fd >= 0 && ::fdatasync(m_fd) == 0;
}

void DiscImageFile::Close() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

namespace {

// Moves all of `bytes` with pread or pwrite, going on after short transfers
// and interrupted calls.
template <typename Pointer, typename Call>
bool TransferAll(int fd, std::uint64_t offset, Pointer data, std::size_t size, Call call) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = call(fd, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool DiscImageFile::Write(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
    return TransferAll(m_fd, offset, bytes.data(), bytes.size(), ::pwrite);
}

bool DiscImageFile::Read(std::uint64_t offset, std::span<std::uint8_t> bytes) const {
    return TransferAll(m_fd, offset, bytes.data(), bytes.size(), ::pread);
}

bool DiscImageFile::Truncate(std::uint64_t size) {
    return m_fd >= 0 && ::ftruncate(m_fd, static_cast<off_t>(size)) == 0;
}

std::uint64_t DiscImageFile::Size() const {
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(info.st_size);
}

} // namespace quarnel::emu
