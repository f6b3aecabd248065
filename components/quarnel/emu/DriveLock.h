#pragma once
// The lock that keeps an emulated drive to one writer at a time, as a real
// drive opened exclusively: an open-file-description lock on `drive.lock` in
// the drive's folder. It conflicts between processes and between drive
// objects of one process alike, and goes with the process that held it.

#include <filesystem>

namespace quarnel::emu {

inline constexpr const char* kDriveLockFileName = "drive.lock";

class DriveLock {
public:
    explicit DriveLock(std::filesystem::path file);
    ~DriveLock();
    DriveLock(const DriveLock&) = delete;
    DriveLock& operator=(const DriveLock&) = delete;

    // Takes the drive; false when another holder has it (or the lock file
    // cannot be made). Taking it again while held succeeds.
    [[nodiscard]] bool Take();
    void Release();
    // Another holder (another process, or another drive object) has it.
    [[nodiscard]] bool HeldElsewhere();

private:
    // Opens the lock file on first use; false when it cannot be opened.
    bool OpenFile();

    const std::filesystem::path m_file;
    int m_fd = -1;
    bool m_held = false;
};

} // namespace quarnel::emu
