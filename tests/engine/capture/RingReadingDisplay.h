#pragma once
// A waveform display for tests: reads the ring one capture buffer at a time,
// as the real display does through BufManaEx::Read, until StopShow.

#include "engine/IWaveDisplay.h"

#include <atomic>
#include <cstdint>

class RingReadingDisplay final : public IWaveDisplay {
public:
    void InitWave(void* window, std::int32_t samplesShown) override;
    void ShowWave(BufManaEx* ring) override;
    void StopShow() override;

    std::uint64_t BlocksRead() const { return m_blocksRead.load(); }
    bool Returned() const { return m_returned.load(); }
    bool StopShowCalled() const { return m_stopShow.load(); }

private:
    std::atomic<bool> m_stopShow{false};
    std::atomic<bool> m_returned{false};
    std::atomic<std::uint64_t> m_blocksRead{0};
};
