// The exported entry points of libtrindle.so over one KeyWatcher.
#include "components/trindle/Trindle.h"

#include "components/trindle/KeyWatcher.h"

#include <mutex>

namespace {

std::mutex g_watcherMutex;
trindle::KeyWatcher g_watcher; // stopped by its destructor when the library is unloaded

} // namespace

extern "C" int StartKey(TrindleCallback callback) {
    const std::lock_guard lock(g_watcherMutex);
    return g_watcher.Start(callback) ? 1 : 0;
}

extern "C" void StopKey() {
    const std::lock_guard lock(g_watcherMutex);
    g_watcher.Stop();
}
