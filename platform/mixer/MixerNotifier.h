#pragma once

#include "platform/mixer/MixerTypes.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

namespace platform::mixer {

// Delivers change messages of one open handle to its callback on a thread of its own, so
// that a backend's event thread never waits on the receiver and the receiver may call back
// into the mixer.
class MixerNotifier {
public:
    MixerNotifier(HMIXER mixer, MixerCallback callback, std::uintptr_t instance);
    ~MixerNotifier();
    MixerNotifier(const MixerNotifier&) = delete;
    MixerNotifier& operator=(const MixerNotifier&) = delete;

    // Never blocks for longer than it takes to append to the queue.
    void Post(std::uint32_t message, std::uint32_t id);
    bool IsNotifierThread() const { return std::this_thread::get_id() == m_thread.get_id(); }

private:
    struct Message {
        std::uint32_t message = 0;
        std::uint32_t id = 0;
    };
    void Run();

    HMIXER m_mixer = nullptr;
    MixerCallback m_callback = nullptr;
    std::uintptr_t m_instance = 0;
    std::mutex m_lock;
    std::condition_variable m_wake;
    std::deque<Message> m_queue;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace platform::mixer
