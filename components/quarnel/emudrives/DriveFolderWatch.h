#pragma once
// Watches emulated drive folders for a disc state written by any process
// (disc.state replaced), through inotify, and names the folder to a callback
// on a thread of its own; the callback takes the change up (EmulatedDrive::
// Refresh). The thread ends before the watch is gone.

#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace quarnel {

class DriveFolderWatch {
public:
    using Callback = std::function<void(const std::filesystem::path& folder)>;

    explicit DriveFolderWatch(Callback callback);
    ~DriveFolderWatch();
    DriveFolderWatch(const DriveFolderWatch&) = delete;
    DriveFolderWatch& operator=(const DriveFolderWatch&) = delete;

    // Starts watching `folder`; false when inotify refused it.
    bool Add(const std::filesystem::path& folder);
    // False when inotify could not be set up (no changes will be seen).
    [[nodiscard]] bool IsRunning() const { return m_thread.joinable(); }

private:
    void Run();
    void Handle(const char* events, std::size_t length);

    Callback m_callback;
    int m_inotify = -1;
    int m_stopPipe[2] = {-1, -1};
    std::mutex m_mutex;                             // guards m_folders
    std::map<int, std::filesystem::path> m_folders; // by watch descriptor
    std::thread m_thread;
};

} // namespace quarnel
