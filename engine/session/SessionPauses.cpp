#include "engine/session/SessionPauses.h"

#include <chrono>
#include <thread>

void PauseMs(unsigned ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}
