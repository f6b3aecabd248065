#pragma once

#include <filesystem>
#include <mutex>

namespace platform::mixer {

// Holds the virtual mixer's state file for one read-modify-write: against the other threads
// of this process (a mutex) and against other processes (an advisory lock on a file beside
// it). Without a lock file (read-only folder) only the process lock is held.
class VirtualMixerStateLock {
public:
    explicit VirtualMixerStateLock(const std::filesystem::path& statePath);
    ~VirtualMixerStateLock();
    VirtualMixerStateLock(const VirtualMixerStateLock&) = delete;
    VirtualMixerStateLock& operator=(const VirtualMixerStateLock&) = delete;

private:
    std::unique_lock<std::mutex> m_processLock;
    int m_fileFd = -1;
};

} // namespace platform::mixer
