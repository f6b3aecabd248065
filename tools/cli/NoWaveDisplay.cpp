#include "tools/cli/NoWaveDisplay.h"

#include <chrono>
#include <thread>

namespace cli {

void NoWaveDisplay::InitWave(void* /*window*/, std::int32_t /*samplesShown*/) {}

void NoWaveDisplay::ShowWave(BufManaEx* /*ring*/) {
    constexpr auto kPoll = std::chrono::milliseconds(20);
    while (!m_stop.load(std::memory_order_acquire)) {
        std::this_thread::sleep_for(kPoll);
    }
}

void NoWaveDisplay::StopShow() {
    m_stop.store(true, std::memory_order_release);
}

} // namespace cli
