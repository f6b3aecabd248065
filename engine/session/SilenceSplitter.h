#pragma once
// Where a take's track ends when it is split on silence. Fed the take's sound
// in order (44,100 Hz 16-bit stereo frames), it keeps how long the current
// track is and how long the level has stayed below the silence level (no
// sample of either channel reaching it). When sound comes back after a
// silence of at least the silence length, the track ends inside that silence:
// at the last multiple of the boundary step (counted from the track's start)
// at or before the first sounding frame, but never before the block being
// looked at (what came before has been written) and never before the
// shortest track. The whole silence thus stays with the track it ends and
// the next track begins with the sound; nothing is dropped or repeated.
//
// Pure and single-threaded: the CD writer and the file writer run it on
// their own threads, never the capture callback.

#include "engine/session/SplitSettings.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace engine {

class SilenceSplitter {
public:
    // 588 frames: one CD sector.
    static constexpr std::uint32_t kSectorFrames = 588;

    // `boundaryStepFrames` >= 1: kSectorFrames for a CD, 1 for files.
    SilenceSplitter(const SplitSettings& settings, std::uint32_t boundaryStepFrames);

    // Looks at the `frames` interleaved stereo frames that follow what it saw.
    // When the track ends among them, returns how many of them still belong
    // to it (possibly 0) and starts the next track there; the caller hands
    // the frames from there on in again. Otherwise returns nothing.
    std::optional<std::size_t> Feed(const std::int16_t* samples, std::size_t frames);

    // Frames of the current track seen so far.
    [[nodiscard]] std::uint64_t TrackFrames() const { return m_trackFrames; }

private:
    std::int32_t m_threshold;
    std::uint64_t m_silenceFrames;
    std::uint64_t m_minTrackFrames;
    std::uint32_t m_step;
    std::uint64_t m_trackFrames = 0;
    std::uint64_t m_silentRun = 0;
};

} // namespace engine
