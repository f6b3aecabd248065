#pragma once
// Holds the registry settings file for one read-modify-write: against the
// other threads of this process (a mutex) and against other processes (an
// advisory flock on "<file>.lock" beside it).

#include <filesystem>
#include <mutex>

namespace platform {

class RegistryFileLock {
public:
    // Takes both locks; Held() tells whether the lock file could be opened.
    explicit RegistryFileLock(const std::filesystem::path& settingsPath);
    ~RegistryFileLock();
    RegistryFileLock(const RegistryFileLock&) = delete;
    RegistryFileLock& operator=(const RegistryFileLock&) = delete;

    bool Held() const { return m_lockFd >= 0; }

private:
    std::unique_lock<std::mutex> m_threadLock;
    int m_lockFd = -1;
};

} // namespace platform
