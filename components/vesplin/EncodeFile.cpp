#include "components/vesplin/EncodeFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

namespace vesplin {

namespace {

// Writes all `size` bytes at `offset`, going on after interruptions and
// partial writes; false when the system refuses (a full disk, an I/O error).
bool WriteFully(int fd, std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written =
            ::pwrite(fd, data + done, size - done, static_cast<off_t>(offset + done));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

EncodeFile::~EncodeFile() {
    Close();
}

bool EncodeFile::Create(const std::string& path) {
    Close();
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    m_lengthBytes = 0;
    return m_fd >= 0;
}

bool EncodeFile::Append(const std::uint8_t* data, std::size_t size) {
    if (m_fd < 0) {
        return false;
    }
    if (!WriteFully(m_fd, m_lengthBytes, data, size)) {
        // Drop the part of this append that did get through; the result of
        // the cut is not needed, the append has failed either way.
        (void)::ftruncate(m_fd, static_cast<off_t>(m_lengthBytes));
        return false;
    }
    m_lengthBytes += size;
    return true;
}

bool EncodeFile::WriteAt(std::uint64_t offset, const std::uint8_t* data, std::size_t size) {
    return m_fd >= 0 && offset + size <= m_lengthBytes && WriteFully(m_fd, offset, data, size);
}

bool EncodeFile::Close() {
    if (m_fd < 0) {
        return true;
    }
    const int result = ::close(m_fd);
    m_fd = -1;
    m_lengthBytes = 0;
    return result == 0;
}

} // namespace vesplin
