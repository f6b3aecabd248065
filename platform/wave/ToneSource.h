#pragma once
// The "tone" input: 440 Hz on the left channel and 660 Hz on the right, at half
// of full scale, 44,100 Hz 16-bit stereo. Frame n of the stream (counted from
// the first frame after waveInStart) holds sample(n, 0) and sample(n, 1), so a
// test can check every sample it receives and so prove order and continuity.

#include "platform/wave/PacedCaptureSource.h"

#include <cstdint>

namespace platform::wave {

class ToneSource : public PacedCaptureSource {
public:
    static constexpr std::uint32_t kLeftHz = 440;
    static constexpr std::uint32_t kRightHz = 660;

    static OpenedSource Open(const WAVEFORMATEX& format);

    [[nodiscard]] static std::int16_t Sample(std::uint64_t frame, unsigned channel);

    void Start() override;
    [[nodiscard]] std::string Name() const override { return "tone"; }

protected:
    bool Fill(std::span<char> out) override;

private:
    explicit ToneSource(const WAVEFORMATEX& format) : PacedCaptureSource(format) {}

    std::uint64_t m_frame = 0;
};

} // namespace platform::wave
