#include "platform/mixer/PulseCaptureChoice.h"

#include <mutex>

namespace platform::mixer {
namespace {

std::mutex g_choiceLock;
std::string g_chosenSource; // guarded by g_choiceLock

} // namespace

void SetChosenCaptureSource(const std::string& sourceName) {
    const std::lock_guard guard(g_choiceLock);
    g_chosenSource = sourceName;
}

std::string ChosenCaptureSource() {
    const std::lock_guard guard(g_choiceLock);
    return g_chosenSource;
}

} // namespace platform::mixer
