#pragma once
// The "null" output: discards in real time. Also takes over from an output
// device that disappeared, so that played buffers keep coming back.

#include "platform/wave/PacedPlaybackSink.h"

namespace platform::wave {

class NullSink : public PacedPlaybackSink {
public:
    explicit NullSink(const WAVEFORMATEX& format) : PacedPlaybackSink(format) {}

    [[nodiscard]] std::string Name() const override { return "null"; }

protected:
    void Consume(std::span<const char> /*bytes*/) override {}
};

} // namespace platform::wave
