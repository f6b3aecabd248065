#include "online/InternetTimeouts.h"

#include <atomic>

namespace online {

namespace {

// Relaxed: each value stands alone and is only read when a transfer starts.
std::atomic<long> g_connectTimeoutMs{InternetTimeouts{}.connectTimeoutMs};
std::atomic<long> g_stallTimeoutSeconds{InternetTimeouts{}.stallTimeoutSeconds};

} // namespace

InternetTimeouts GetInternetTimeouts() {
    return {g_connectTimeoutMs.load(std::memory_order_relaxed),
            g_stallTimeoutSeconds.load(std::memory_order_relaxed)};
}

void SetInternetTimeouts(const InternetTimeouts& timeouts) {
    g_connectTimeoutMs.store(timeouts.connectTimeoutMs, std::memory_order_relaxed);
    g_stallTimeoutSeconds.store(timeouts.stallTimeoutSeconds, std::memory_order_relaxed);
}

} // namespace online
