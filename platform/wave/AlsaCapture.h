#pragma once
// Wave input from an ALSA PCM ("alsa:NAME").

#include "platform/wave/AlsaPcm.h"
#include "platform/wave/CaptureSource.h"

namespace platform::wave {

class AlsaCapture : public CaptureSource {
public:
    static OpenedSource Open(const std::string& device, const WAVEFORMATEX& format);

    void Start() override;
    void Stop() override;
    CaptureRead Read(std::span<char> out) override;
    [[nodiscard]] std::string Name() const override { return "alsa:" + m_device; }

private:
    AlsaCapture(std::string device, AlsaPcmPtr pcm, unsigned frameBytes);
    CaptureRead Failed(int error);
    // Polls the device's descriptors once without waiting; a negative errno when
    // the device reports an error (a sound server that went away), else 0.
    int PollOnce();

    std::string m_device;
    AlsaPcmPtr m_pcm;
    unsigned m_frameBytes = 0;
};

} // namespace platform::wave
