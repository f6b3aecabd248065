#include "platform/mixer/PulseConnection.h"

#include <pulse/rtclock.h>
#include <pulse/subscribe.h>
#include <pulse/timeval.h>

namespace platform::mixer {

std::unique_ptr<PulseConnection> PulseConnection::Connect() {
    std::unique_ptr<PulseConnection> connection(new PulseConnection());
    if (!connection->Start()) {
        return nullptr;
    }
    return connection;
}

bool PulseConnection::Start() {
    m_loop = pa_threaded_mainloop_new();
    if (m_loop == nullptr) {
        return false;
    }
    m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Sondrel mixer");
    if (m_context == nullptr) {
        return false;
    }
    pa_context_set_state_callback(m_context, &PulseConnection::OnStateChange, this);
    if (pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        return false;
    }
    if (pa_threaded_mainloop_start(m_loop) < 0) {
        return false;
    }
    m_running = true;
    Lock lock(*this);
    return WaitFor([this] { return pa_context_get_state(m_context) == PA_CONTEXT_READY; });
}

PulseConnection::~PulseConnection() {
    if (m_context != nullptr) {
        if (m_running) {
            Lock lock(*this);
            pa_context_set_state_callback(m_context, nullptr, nullptr);
            pa_context_set_subscribe_callback(m_context, nullptr, nullptr);
            pa_context_disconnect(m_context);
        } else {
            pa_context_disconnect(m_context);
        }
    }
    if (m_running) {
        pa_threaded_mainloop_stop(m_loop);
    }
    if (m_context != nullptr) {
        pa_context_unref(m_context);
    }
    if (m_loop != nullptr) {
        pa_threaded_mainloop_free(m_loop);
    }
}

void PulseConnection::OnStateChange(pa_context* /*context*/, void* self) {
    static_cast<PulseConnection*>(self)->Wake();
}

void PulseConnection::OnTimer(pa_mainloop_api* /*api*/, pa_time_event* /*event*/,
                              const struct timeval* /*when*/, void* self) {
    static_cast<PulseConnection*>(self)->Wake();
}

bool PulseConnection::WaitFor(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + kOperationTimeout;
    const auto timeoutUs = std::chrono::duration_cast<std::chrono::microseconds>(kOperationTimeout);
    pa_time_event* timer = pa_context_rttime_new(
        m_context, pa_rtclock_now() + static_cast<pa_usec_t>(timeoutUs.count()),
        &PulseConnection::OnTimer, this);
    if (timer == nullptr) {
        return done();
    }
    bool result = false;
    for (;;) {
        if (done()) {
            result = true;
            break;
        }
        const pa_context_state_t state = pa_context_get_state(m_context);
        if (!PA_CONTEXT_IS_GOOD(state) || std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        pa_threaded_mainloop_wait(m_loop);
    }
    pa_mainloop_api* api = pa_threaded_mainloop_get_api(m_loop);
    api->time_free(timer);
    return result;
}

bool PulseConnection::Complete(pa_operation* operation, const bool& finished) {
    if (operation == nullptr) {
        return false;
    }
    const bool done = WaitFor([&finished] { return finished; });
    if (!done) {
        pa_operation_cancel(operation);
    }
    pa_operation_unref(operation);
    return done;
}

} // namespace platform::mixer
