#pragma once
// Where a wave-output device's audio goes: ALSA or a virtual output. Used by
// the device's service thread only.

#include "platform/wave/OpenedBackend.h"
#include "platform/wave/WaveTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace platform::wave {

struct PlaybackWrite {
    bool gone = false;     // the device disappeared
    std::size_t bytes = 0; // whole frames accepted
};

class PlaybackSink {
public:
    virtual ~PlaybackSink() = default;
    PlaybackSink() = default;
    PlaybackSink(const PlaybackSink&) = delete;
    PlaybackSink& operator=(const PlaybackSink&) = delete;

    // Accepts what fits now, waiting a short while at most.
    virtual PlaybackWrite Write(std::span<const char> bytes) = 0;
    // Frames written so far that have been heard.
    [[nodiscard]] virtual std::uint64_t FramesPlayed() = 0;
    // Called while everything has been written but not all of it played.
    virtual void WaitWhilePlaying() = 0;
    virtual void Pause() = 0;
    virtual void Resume() = 0;
    // Drops what was written and not played yet.
    virtual void Discard() = 0;
    [[nodiscard]] virtual std::string Name() const = 0;
};

using OpenedSink = Opened<PlaybackSink>;

} // namespace platform::wave
