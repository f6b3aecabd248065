#include "platform/mixer/MixerNotifier.h"

namespace platform::mixer {

MixerNotifier::MixerNotifier(HMIXER mixer, MixerCallback callback, std::uintptr_t instance)
    : m_mixer(mixer), m_callback(callback), m_instance(instance), m_thread([this] { Run(); }) {}

MixerNotifier::~MixerNotifier() {
    {
        std::lock_guard guard(m_lock);
        m_stopping = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void MixerNotifier::Post(std::uint32_t message, std::uint32_t id) {
    {
        std::lock_guard guard(m_lock);
        m_queue.push_back({message, id});
    }
    m_wake.notify_one();
}

void MixerNotifier::Run() {
    std::unique_lock guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping) {
            return;
        }
        const Message next = m_queue.front();
        m_queue.pop_front();
        guard.unlock();
        m_callback(m_mixer, next.message, m_instance, next.id);
        guard.lock();
    }
}

} // namespace platform::mixer
