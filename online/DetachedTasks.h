#pragma once
// Work run on threads of its own that nobody joins: the owner may go away
// while they run. A task may start further tasks; Wait tells when all of them
// have ended (for a program that must not end before them, and for tests).

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

namespace online {

class DetachedTasks : public std::enable_shared_from_this<DetachedTasks> {
public:
    // Runs `task` on a new detached thread named `threadName`; false when no
    // thread could be started (the task is then dropped).
    bool Run(std::string_view threadName, std::function<void()> task);

    // Waits until no task is running, at most `limit`; true when none is.
    bool Wait(std::chrono::milliseconds limit);

private:
    void Finished();

    std::mutex m_mutex;
    std::condition_variable m_idle;
    int m_running = 0;
};

} // namespace online
