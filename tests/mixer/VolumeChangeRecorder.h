#pragma once

#include "mixer/IVolume.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

// Records the values a volume object's change callback receives.
class VolumeChangeRecorder {
public:
    static void onChange(std::int32_t value, std::uintptr_t user) {
        auto* self = reinterpret_cast<VolumeChangeRecorder*>(user);
        {
            std::lock_guard guard(self->m_lock);
            self->m_values.push_back(value);
        }
        self->m_arrived.notify_all();
    }
    std::uintptr_t user() { return reinterpret_cast<std::uintptr_t>(this); }
    // The first value received; waits a generous 10 s at most, so a lost call fails the test
    // instead of hanging it. -2 when nothing came.
    std::int32_t first() {
        std::unique_lock guard(m_lock);
        m_arrived.wait_for(guard, std::chrono::seconds(10), [this] { return !m_values.empty(); });
        return m_values.empty() ? -2 : m_values.front();
    }

private:
    std::mutex m_lock;
    std::condition_variable m_arrived;
    std::vector<std::int32_t> m_values;
};
