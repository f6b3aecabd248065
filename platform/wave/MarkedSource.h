#pragma once
// The "marked" input: every frame carries its own number, counted from the
// first frame after waveInStart. The left sample holds the number's low 16
// bits, the right sample its next 16 bits (both as unsigned, little-endian),
// so that a recording can be checked for lost, doubled or reordered frames and
// for where it starts and ends. 44,100 Hz 16-bit stereo in real time.
//
// "marked:SOUND,GAP" (seconds, decimals allowed) interrupts the numbered
// frames with silence: from the first frame on, SOUND seconds of numbered
// frames, then GAP seconds of zero frames, and so on. The numbers count on
// through the gaps, so the first frame after a gap carries its place in the
// stream.

#include "platform/wave/PacedCaptureSource.h"

#include <cstdint>
#include <optional>
#include <string_view>

namespace platform::wave {

// Frames of sound and of silence in each period of a marked input with gaps.
struct MarkedGaps {
    std::uint32_t soundFrames = 0;
    std::uint32_t gapFrames = 0; // 0: no gaps
};

class MarkedSource : public PacedCaptureSource {
public:
    // "SOUND,GAP" with both above 0 and at most an hour; empty text: no gaps.
    [[nodiscard]] static std::optional<MarkedGaps> ParseGaps(std::string_view text);
    static OpenedSource Open(const WAVEFORMATEX& format, std::string_view gaps);

    // The frame number a frame of this input carries.
    [[nodiscard]] static std::uint32_t FrameNumber(std::uint16_t left, std::uint16_t right) {
        return static_cast<std::uint32_t>(right) << 16 | left;
    }

    void Start() override;
    [[nodiscard]] std::string Name() const override { return "marked"; }

protected:
    bool Fill(std::span<char> out) override;

private:
    MarkedSource(const WAVEFORMATEX& format, MarkedGaps gaps)
        : PacedCaptureSource(format), m_gaps(gaps) {}

    MarkedGaps m_gaps;
    std::uint32_t m_frame = 0;
};

} // namespace platform::wave
