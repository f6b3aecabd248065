#include "platform/registry/RegistryFileLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

std::mutex g_registryFileMutex;

} // namespace

RegistryFileLock::RegistryFileLock(const std::filesystem::path& settingsPath)
    : m_threadLock(g_registryFileMutex) {
    std::filesystem::path lockPath = settingsPath;
    lockPath += ".lock";
    m_lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_lockFd < 0) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(m_lockFd, LOCK_EX);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        ::close(m_lockFd);
        m_lockFd = -1;
    }
}

RegistryFileLock::~RegistryFileLock() {
    if (m_lockFd >= 0) {
        ::close(m_lockFd); // closing the last descriptor releases the flock
    }
}

} // namespace platform
