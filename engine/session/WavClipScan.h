#pragma once
// The clip count of a WAV take. The capture callback appends the take's sound
// to its file itself, so no thread of ours sees every sample after it; the
// file does. Each scan reads what the file gained since the last one (from
// the page cache, a second of sound at a time while the take runs) and counts
// its samples at full scale, so the count is that of the sound the file
// holds, exactly. User-interface thread; the total may be read from any.

#include "engine/ClipCounter.h"

#include <cstdint>
#include <string>

namespace engine {

class WavClipScan {
public:
    // A new take: nothing counted yet.
    void Begin();
    // Counts the sound `path` holds beyond what was counted (the take's file,
    // its header being kTakeWavHeaderBytes long). A file that cannot be read
    // counts nothing more.
    void Scan(const std::string& path);
    [[nodiscard]] std::uint64_t Total() const { return m_clips.Total(); }

private:
    ClipCounter m_clips;
    std::uint64_t m_scannedBytes = 0;
};

} // namespace engine
