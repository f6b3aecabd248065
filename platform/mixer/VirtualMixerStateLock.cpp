#include "platform/mixer/VirtualMixerStateLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace platform::mixer {

namespace {

std::mutex g_stateMutex;

} // namespace

VirtualMixerStateLock::VirtualMixerStateLock(const std::filesystem::path& statePath)
    : m_processLock(g_stateMutex) {
    std::filesystem::path lockPath = statePath;
    lockPath += ".lock";
    std::error_code error;
    if (lockPath.has_parent_path()) {
        std::filesystem::create_directories(lockPath.parent_path(), error);
    }
    m_fileFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_fileFd >= 0 && flock(m_fileFd, LOCK_EX) != 0) {
        close(m_fileFd);
        m_fileFd = -1;
    }
}

VirtualMixerStateLock::~VirtualMixerStateLock() {
    if (m_fileFd >= 0) {
        flock(m_fileFd, LOCK_UN);
        close(m_fileFd);
    }
}

} // namespace platform::mixer
