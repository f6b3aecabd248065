#include "engine/WavAppendFile.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

WavAppendFile::~WavAppendFile() {
    Close();
}

bool WavAppendFile::Open(const std::string& path) {
    Close();
    const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    m_writeError.store(0, std::memory_order_relaxed);
    m_fd.store(fd, std::memory_order_relaxed);
    return fd >= 0;
}

void WavAppendFile::Append(const std::uint8_t* data, std::size_t length) {
    const int fd = m_fd.load(std::memory_order_relaxed);
    if (fd < 0 || m_writeError.load(std::memory_order_relaxed) != 0) {
        return;
    }
    while (length > 0) {
        const ssize_t written = ::write(fd, data, length);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that takes nothing without an error is a full disk too.
            m_writeError.store(written < 0 ? errno : ENOSPC, std::memory_order_relaxed);
            return;
        }
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}

void WavAppendFile::Close() {
    const int fd = m_fd.exchange(-1, std::memory_order_relaxed);
    if (fd >= 0) {
        ::close(fd);
    }
}

bool WavAppendFile::IsOpen() const {
    return m_fd.load(std::memory_order_relaxed) >= 0;
}

int WavAppendFile::WriteError() const {
    return m_writeError.load(std::memory_order_relaxed);
}
