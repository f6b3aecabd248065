#pragma once
// The "null" output: discards in real time. Also takes over from an output
// device that disappeared, so that played buffers keep coming back.

#include "platform/wave/PacedPlaybackSink.h"

class NullSink : public PacedPlaybackSink {
public:
    explicit NullSink(const WAVEFORMATEX& format) : PacedPlaybackSink(format) {}

    [[nodiscard]] std::string name() const override { return "null"; }

protected:
    void consume(std::span<const char> /*bytes*/) override {}
};
