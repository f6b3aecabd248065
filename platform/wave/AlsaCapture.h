#pragma once
// Wave input from an ALSA PCM ("alsa:NAME").

#include "platform/wave/AlsaPcm.h"
#include "platform/wave/CaptureSource.h"

class AlsaCapture : public CaptureSource {
public:
    static OpenedSource open(const std::string& device, const WAVEFORMATEX& format);

    void start() override;
    void stop() override;
    CaptureRead read(std::span<char> out) override;
    bool reopen() override;
    [[nodiscard]] std::string name() const override { return "alsa:" + m_device; }

private:
    AlsaCapture(std::string device, AlsaPcmPtr pcm, const WAVEFORMATEX& format);
    CaptureRead failed(int error);
    // Polls the device's descriptors once without waiting; a negative errno when
    // the device reports an error (a sound server that went away), else 0.
    int pollOnce();

    std::string m_device;
    AlsaPcmPtr m_pcm; // null after a failed reopen
    WAVEFORMATEX m_format;
    unsigned m_frameBytes = 0;
};
