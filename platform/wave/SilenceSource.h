#pragma once
// The "silence" input: zeros in real time, 44,100 Hz 16-bit stereo.

#include "platform/wave/PacedCaptureSource.h"

namespace platform::wave {

class SilenceSource : public PacedCaptureSource {
public:
    static OpenedSource Open(const WAVEFORMATEX& format);

    [[nodiscard]] std::string Name() const override { return "silence"; }

protected:
    bool Fill(std::span<char> out) override;

private:
    explicit SilenceSource(const WAVEFORMATEX& format) : PacedCaptureSource(format) {}
};

} // namespace platform::wave
