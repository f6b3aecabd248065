#pragma once
// Wave output to an ALSA PCM ("alsa:NAME").

#include "platform/wave/AlsaPcm.h"
#include "platform/wave/PlaybackSink.h"

namespace platform::wave {

class AlsaPlayback : public PlaybackSink {
public:
    static OpenedSink Open(const std::string& device, const WAVEFORMATEX& format);

    PlaybackWrite Write(std::span<const char> bytes) override;
    [[nodiscard]] std::uint64_t FramesPlayed() override;
    void WaitWhilePlaying() override;
    void Pause() override;
    void Resume() override;
    void Discard() override;
    [[nodiscard]] std::string Name() const override { return "alsa:" + m_device; }

private:
    AlsaPlayback(std::string device, AlsaPcmPtr pcm, unsigned frameBytes);

    std::string m_device;
    AlsaPcmPtr m_pcm;
    unsigned m_frameBytes = 0;
    std::uint64_t m_framesWritten = 0;
    bool m_dropped = false; // paused by dropping, for a device without pause
};

} // namespace platform::wave
