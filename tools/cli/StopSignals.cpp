#include "tools/cli/StopSignals.h"

#include <atomic>
#include <csignal>

namespace cli {

namespace {

// Set from the signal handler: a lock-free atomic on its own, so relaxed.
std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int /*signal*/) {
    g_stopRequested.store(true, std::memory_order_relaxed);
}

} // namespace

StopSignals::StopSignals() {
    g_stopRequested.store(false, std::memory_order_relaxed);
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    std::signal(SIGHUP, OnStopSignal);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGHUP, SIG_DFL);
}

bool StopSignals::Requested() const {
    return g_stopRequested.load(std::memory_order_relaxed);
}

} // namespace cli
