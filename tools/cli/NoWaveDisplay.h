#pragma once
// The waveform display of the command line: shows nothing. Capture still
// needs a display thread; it idles until StopShow, and the ring drops what
// nobody reads.

#include "engine/IWaveDisplay.h"

#include <atomic>

namespace cli {

class NoWaveDisplay final : public IWaveDisplay {
public:
    void InitWave(void* window, std::int32_t samplesShown) override;
    void ShowWave(BufManaEx* ring) override;
    void StopShow() override;

private:
    std::atomic<bool> m_stop{false};
};

} // namespace cli
