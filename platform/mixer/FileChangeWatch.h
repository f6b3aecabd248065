#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

namespace platform::mixer {

// Calls onChange on a thread of its own whenever a file is written, replaced (renamed over)
// or removed, by this process or any other. The file's folder is created when missing.
class FileChangeWatch {
public:
    FileChangeWatch(const std::filesystem::path& file, std::function<void()> onChange);
    // After this returns onChange is not running and is never called again.
    ~FileChangeWatch();
    FileChangeWatch(const FileChangeWatch&) = delete;
    FileChangeWatch& operator=(const FileChangeWatch&) = delete;

    bool Watching() const { return m_thread.joinable(); }

private:
    void Run();

    std::string m_fileName;
    std::function<void()> m_onChange;
    int m_inotifyFd = -1;
    int m_wakeFd = -1;
    std::atomic<bool> m_stopping{false};
    std::thread m_thread;
};

} // namespace platform::mixer
