#pragma once

#include <pulse/context.h>
#include <pulse/operation.h>
#include <pulse/thread-mainloop.h>

#include <chrono>
#include <functional>
#include <memory>

namespace platform::mixer {

// A connection to the sound server on a threaded main loop of its own. Callers talk to the
// server under lock(); every wait ends after the operation timeout or when the connection
// is lost, so a server that hangs or dies never holds the caller.
class PulseConnection {
public:
    static constexpr std::chrono::milliseconds kOperationTimeout{2000};

    // Null when no server answers in time. Never starts a server.
    static std::unique_ptr<PulseConnection> Connect();
    ~PulseConnection();
    PulseConnection(const PulseConnection&) = delete;
    PulseConnection& operator=(const PulseConnection&) = delete;

    class Lock {
    public:
        explicit Lock(PulseConnection& connection) : m_loop(connection.m_loop) {
            pa_threaded_mainloop_lock(m_loop);
        }
        ~Lock() { pa_threaded_mainloop_unlock(m_loop); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        pa_threaded_mainloop* m_loop;
    };

    pa_context* Context() const { return m_context; }
    // Wakes a caller waiting in WaitFor; for callbacks on the loop's thread.
    void Wake() { pa_threaded_mainloop_signal(m_loop, 0); }
    // With the lock held: waits until done() holds. False on timeout or a lost connection.
    bool WaitFor(const std::function<bool()>& done);
    // With the lock held: waits for an operation whose callbacks set finished. A late
    // operation is cancelled, so its callbacks never run after this returns.
    bool Complete(pa_operation* operation, const bool& finished);

private:
    PulseConnection() = default;
    bool Start();
    static void OnStateChange(pa_context* context, void* self);
    static void OnTimer(pa_mainloop_api* api, pa_time_event* event, const struct timeval* when,
                        void* self);

    pa_threaded_mainloop* m_loop = nullptr;
    pa_context* m_context = nullptr;
    bool m_running = false;
};

} // namespace platform::mixer
