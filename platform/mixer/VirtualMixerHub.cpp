#include "platform/mixer/VirtualMixerHub.h"

VirtualMixerHub& VirtualMixerHub::instance() {
    static VirtualMixerHub hub;
    return hub;
}

int VirtualMixerHub::subscribe(MixerBackend::ChangeListener listener) {
    std::lock_guard guard(m_listenersLock);
    const int id = m_nextId++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void VirtualMixerHub::unsubscribe(int id) {
    std::lock_guard guard(m_listenersLock);
    m_listeners.erase(id);
}

void VirtualMixerHub::publish(MixerChange change, int line) {
    // Listeners only queue a message, so calling them under the lock is cheap, and it is
    // what makes unsubscribe final.
    std::lock_guard guard(m_listenersLock);
    for (const auto& [id, listener] : m_listeners) {
        listener(change, line);
    }
}
