#pragma once
// Where a wave-input device's audio comes from: ALSA or a virtual input. Used
// by the device's service thread only.

#include "platform/wave/OpenedBackend.h"
#include "platform/wave/WaveTypes.h"

#include <cstddef>
#include <memory>
#include <span>
#include <string>

namespace platform::wave {

enum class CaptureStatus {
    Ok,
    Overrun, // audio was lost before this read; the source has recovered
    Gone,    // the device disappeared; no more audio will come
};

struct CaptureRead {
    CaptureStatus status = CaptureStatus::Ok;
    std::size_t bytes = 0; // whole frames
};

class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    CaptureSource() = default;
    CaptureSource(const CaptureSource&) = delete;
    CaptureSource& operator=(const CaptureSource&) = delete;

    // Starts (or restarts after stop) delivering audio.
    virtual void Start() = 0;
    // Stops and forgets audio not read yet.
    virtual void Stop() = 0;
    // Waits a short while (a fraction of a second at most) for audio and
    // returns what arrived, possibly nothing.
    virtual CaptureRead Read(std::span<char> out) = 0;
    // The device as the user named it, for log lines.
    [[nodiscard]] virtual std::string Name() const = 0;
};

using OpenedSource = Opened<CaptureSource>;

} // namespace platform::wave
