#pragma once
// Base of the virtual outputs: takes audio at the pace a sound card would play
// it, in slices of kSliceFrames, and hands it to the subclass. What has been
// taken counts as played.

#include "platform/wave/PlaybackSink.h"
#include "platform/wave/RealTimePacer.h"

namespace platform::wave {

class PacedPlaybackSink : public PlaybackSink {
public:
    static constexpr std::size_t kSliceFrames = 1024;

    explicit PacedPlaybackSink(const WAVEFORMATEX& format);

    PlaybackWrite Write(std::span<const char> bytes) override;
    [[nodiscard]] std::uint64_t FramesPlayed() override { return m_framesPlayed; }
    void WaitWhilePlaying() override {}
    void Pause() override {}
    void Resume() override;
    void Discard() override {}

protected:
    virtual void Consume(std::span<const char> bytes) = 0;

    WAVEFORMATEX m_format;

private:
    RealTimePacer m_pacer;
    bool m_started = false;
    std::uint64_t m_framesPlayed = 0;
};

} // namespace platform::wave
