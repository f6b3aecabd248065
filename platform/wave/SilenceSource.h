#pragma once
// The "silence" input: zeros in real time, 44,100 Hz 16-bit stereo.

#include "platform/wave/PacedCaptureSource.h"

class SilenceSource : public PacedCaptureSource {
public:
    static OpenedSource open(const WAVEFORMATEX& format);

    [[nodiscard]] std::string name() const override { return "silence"; }

protected:
    bool fill(std::span<char> out) override;

private:
    explicit SilenceSource(const WAVEFORMATEX& format) : PacedCaptureSource(format) {}
};
