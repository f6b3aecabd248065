#include "tests/engine/capture/RingReadingDisplay.h"

#include "engine/BufManaEx.h"
#include "engine/RecordingState.h"

#include <vector>

void RingReadingDisplay::InitWave(void* /*window*/, std::int32_t /*samplesShown*/) {}

void RingReadingDisplay::ShowWave(BufManaEx* ring) {
    std::vector<std::uint8_t> block(kCaptureBufferBytes);
    while (!m_stopShow.load()) {
        if (!ring->Read(block.data(), kCaptureBufferBytes) || ring->IsStopped()) {
            break;
        }
        m_blocksRead.fetch_add(1);
    }
    m_returned.store(true);
}

void RingReadingDisplay::StopShow() {
    m_stopShow.store(true);
}
