#pragma once

#include "platform/mixer/MixerBackend.h"

#include <map>
#include <mutex>

// What every virtual mixer of this process shares: the lock around the state file and the
// listeners that hear of each change, whichever virtual mixer made it.
class VirtualMixerHub {
public:
    static VirtualMixerHub& instance();

    std::mutex& stateLock() { return m_stateLock; }
    int subscribe(MixerBackend::ChangeListener listener);
    // After this returns the listener is never called again.
    void unsubscribe(int id);
    void publish(MixerChange change, int line);

private:
    VirtualMixerHub() = default;

    std::mutex m_stateLock;
    std::mutex m_listenersLock;
    std::map<int, MixerBackend::ChangeListener> m_listeners;
    int m_nextId = 1;
};
