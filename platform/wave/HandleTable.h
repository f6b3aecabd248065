#pragma once
// The open devices of one kind by handle. A handle is a number that is never
// reused, so a stale handle finds nothing instead of another device; callers
// hold the device through a shared pointer for the length of one call, so a
// concurrent close cannot free it under them.

#include "platform/wave/WaveTypes.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace platform::wave {

template <class Device, class Handle> class HandleTable {
public:
    Handle Reserve() {
        const std::lock_guard lock(m_mutex);
        return reinterpret_cast<Handle>(m_next++);
    }

    void Insert(Handle handle, std::shared_ptr<Device> device) {
        const std::lock_guard lock(m_mutex);
        m_devices[reinterpret_cast<std::uintptr_t>(handle)] = std::move(device);
    }

    [[nodiscard]] std::shared_ptr<Device> Find(Handle handle) const {
        const std::lock_guard lock(m_mutex);
        const auto found = m_devices.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_devices.end() ? nullptr : found->second;
    }

    // Runs action(device) for the handle's device; MMSYSERR_INVALHANDLE when
    // there is none.
    template <class Action> MMRESULT Call(Handle handle, Action action) const {
        const std::shared_ptr<Device> device = Find(handle);
        return device ? action(*device) : MMSYSERR_INVALHANDLE;
    }

    // Closes the device and forgets the handle once it is closed.
    MMRESULT Close(Handle handle) {
        const MMRESULT closed = Call(handle, [](Device& device) { return device.Close(); });
        if (closed == MMSYSERR_NOERROR) {
            Remove(handle);
        }
        return closed;
    }

private:
    void Remove(Handle handle) {
        std::shared_ptr<Device> last;
        {
            const std::lock_guard lock(m_mutex);
            const auto found = m_devices.find(reinterpret_cast<std::uintptr_t>(handle));
            if (found == m_devices.end()) {
                return;
            }
            last = std::move(found->second);
            m_devices.erase(found);
        }
        // The device may be destroyed here, outside the table's lock.
    }

    mutable std::mutex m_mutex;
    std::map<std::uintptr_t, std::shared_ptr<Device>> m_devices;
    std::uintptr_t m_next = 1;
};

} // namespace platform::wave
