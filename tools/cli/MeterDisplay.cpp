#include "tools/cli/MeterDisplay.h"

#include "engine/RingBlocks.h"

namespace cli {

void MeterDisplay::InitWave(void* /*window*/, std::int32_t /*samplesShown*/) {}

void MeterDisplay::ShowWave(BufManaEx* ring) {
    if (ring != nullptr) {
        ReadRingBlocks(*ring, m_stop,
                       [this](std::span<const std::uint8_t> pcm, std::uint64_t position) {
                           m_meter.Add(pcm, position);
                       });
    }
}

void MeterDisplay::StopShow() {
    // Release pairs with the reader's acquire: a plain request to end.
    m_stop.store(true, std::memory_order_release);
}

} // namespace cli
