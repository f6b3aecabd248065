#pragma once
// The waveform display of the command line: draws nothing, but reads every
// block of the waveform ring on the display thread into a level meter, which
// the status line shows and a take that starts on sound watches.

#include "engine/IWaveDisplay.h"
#include "engine/LevelMeter.h"

#include <atomic>

namespace cli {

class MeterDisplay final : public IWaveDisplay {
public:
    void InitWave(void* window, std::int32_t samplesShown) override;
    void ShowWave(BufManaEx* ring) override;
    void StopShow() override;

    [[nodiscard]] LevelMeter& Meter() { return m_meter; }

private:
    LevelMeter m_meter;
    std::atomic<bool> m_stop{false};
};

} // namespace cli
