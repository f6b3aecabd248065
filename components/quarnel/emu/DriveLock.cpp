#include "components/quarnel/emu/DriveLock.h"

#include <fcntl.h>
#include <unistd.h>

namespace quarnel::emu {

namespace {

// A write lock over the whole file.
struct flock WholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    return lock;
}

} // namespace

DriveLock::DriveLock(std::filesystem::path file) : m_file(std::move(file)) {}

DriveLock::~DriveLock() {
    if (m_fd >= 0) {
        ::close(m_fd); // releases the lock
    }
}

bool DriveLock::OpenFile() {
    if (m_fd < 0) {
        m_fd = ::open(m_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    }
    return m_fd >= 0;
}

bool DriveLock::Take() {
    if (m_held) {
        return true;
    }
    if (!OpenFile()) {
        return false;
    }
    struct flock lock = WholeFile(F_WRLCK);
    m_held = ::fcntl(m_fd, F_OFD_SETLK, &lock) == 0;
    return m_held;
}

void DriveLock::Release() {
    if (!m_held) {
        return;
    }
    struct flock lock = WholeFile(F_UNLCK);
    static_cast<void>(::fcntl(m_fd, F_OFD_SETLK, &lock));
    m_held = false;
}

bool DriveLock::HeldElsewhere() {
    if (m_held || !OpenFile()) {
        return false;
    }
    // Asks without taking: a look never makes a writer's Take fail.
    struct flock lock = WholeFile(F_WRLCK);
    return ::fcntl(m_fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

} // namespace quarnel::emu
