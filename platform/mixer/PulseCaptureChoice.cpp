#include "platform/mixer/PulseCaptureChoice.h"

#include <mutex>

namespace {

std::mutex g_choiceLock;
std::string g_chosenSource; // guarded by g_choiceLock

} // namespace

void setChosenCaptureSource(const std::string& sourceName) {
    const std::lock_guard guard(g_choiceLock);
    g_chosenSource = sourceName;
}

std::string chosenCaptureSource() {
    const std::lock_guard guard(g_choiceLock);
    return g_chosenSource;
}
