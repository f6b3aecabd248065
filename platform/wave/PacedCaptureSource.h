#pragma once
// Base of the virtual inputs: delivers the frames a subclass generates at the
// pace a sound card would, in slices of kSliceFrames.

#include "platform/wave/CaptureSource.h"
#include "platform/wave/RealTimePacer.h"

#include <cstdint>

namespace platform::wave {

class PacedCaptureSource : public CaptureSource {
public:
    static constexpr std::size_t kSliceFrames = 1024; // about 23 ms at 44,100 Hz

    explicit PacedCaptureSource(const WAVEFORMATEX& format);

    void Start() override;
    void Stop() override {}
    CaptureRead Read(std::span<char> out) override;

protected:
    // Fills whole frames; false when the audio cannot be produced any more.
    virtual bool Fill(std::span<char> out) = 0;

    WAVEFORMATEX m_format;

private:
    RealTimePacer m_pacer;
};

} // namespace platform::wave
