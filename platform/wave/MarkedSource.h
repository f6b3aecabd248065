#pragma once
// The "marked" input: every frame carries its own number, counted from the
// first frame after waveInStart. The left sample holds the number's low 16
// bits, the right sample its next 16 bits (both as unsigned, little-endian),
// so that a recording can be checked for lost, doubled or reordered frames and
// for where it starts and ends. 44,100 Hz 16-bit stereo in real time.

#include "platform/wave/PacedCaptureSource.h"

#include <cstdint>

namespace platform::wave {

class MarkedSource : public PacedCaptureSource {
public:
    static OpenedSource Open(const WAVEFORMATEX& format);

    // The frame number a frame of this input carries.
    [[nodiscard]] static std::uint32_t FrameNumber(std::uint16_t left, std::uint16_t right) {
        return static_cast<std::uint32_t>(right) << 16 | left;
    }

    void Start() override;
    [[nodiscard]] std::string Name() const override { return "marked"; }

protected:
    bool Fill(std::span<char> out) override;

private:
    explicit MarkedSource(const WAVEFORMATEX& format) : PacedCaptureSource(format) {}

    std::uint32_t m_frame = 0;
};

} // namespace platform::wave
