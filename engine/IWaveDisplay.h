#pragma once
// The live waveform display as capture sees it. InitWave is called once by
// the main window with the display area; ShowWave runs on a thread of its own,
// reads the ring (BufManaEx::Read) and returns after StopShow.

#include <cstdint>

class BufManaEx;

class IWaveDisplay {
public:
    virtual ~IWaveDisplay() = default;
    virtual void InitWave(void* window, std::int32_t samplesShown) = 0;
    virtual void ShowWave(BufManaEx* ring) = 0;
    virtual void StopShow() = 0;
};
