#include "online/DetachedTasks.h"
#include "util/ThreadName.h"

#include <system_error>
#include <thread>

namespace online {

bool DetachedTasks::Run(std::string_view threadName, std::function<void()> task) {
    {
        const std::lock_guard lock(m_mutex);
        ++m_running;
    }
    try {
        // The thread keeps this object alive until it has reported its end.
        std::thread([self = shared_from_this(), threadName, work = std::move(task)] {
            util::NameThisThread(threadName);
            work();
            self->Finished();
        }).detach();
    } catch (const std::system_error&) {
        Finished();
        return false;
    }
    return true;
}

bool DetachedTasks::Wait(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    return m_idle.wait_for(lock, limit, [this] { return m_running == 0; });
}

void DetachedTasks::Finished() {
    const std::lock_guard lock(m_mutex);
    if (--m_running == 0) {
        m_idle.notify_all();
    }
}

} // namespace online
