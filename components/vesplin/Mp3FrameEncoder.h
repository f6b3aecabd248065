#pragma once
// One MP3 encoding run over libmp3lame: 44,100 Hz, 16-bit stereo PCM in,
// MPEG-1 Layer III frames out. The first frame the encoder produces is a
// placeholder for the summary ("Info"/"Xing" + LAME) frame; it decodes as
// one frame of silence, so a file that never gets the real summary is still
// valid. LameTagFrame() gives the summary to write over the placeholder once
// the run is flushed.

#include "components/vesplin/Mp3Settings.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct lame_global_struct;

namespace vesplin {

// The ID3v2 tag of a file; no tag is written without a title.
struct Mp3Tags {
    std::string title;   // UTF-8
    int trackNumber = 0; // 1 to 99; 0 leaves the track number out
};

class Mp3FrameEncoder {
public:
    static constexpr int kSampleRateHz = 44100;
    static constexpr int kChannels = 2;

    Mp3FrameEncoder() = default;
    ~Mp3FrameEncoder();
    Mp3FrameEncoder(const Mp3FrameEncoder&) = delete;
    Mp3FrameEncoder& operator=(const Mp3FrameEncoder&) = delete;

    // Sets up a new run; false when the library cannot be set up.
    bool Start(const Mp3Settings& settings, const Mp3Tags& tags);

    // The ID3v2 tag to write before the frames; empty without a title.
    std::vector<std::uint8_t> Id3v2Tag() const;

    // Encodes `frames` stereo sample pairs (interleaved, native order) and
    // replaces `out` with the MP3 bytes that became ready; false on an
    // encoder error.
    bool Encode(const std::int16_t* interleaved, std::size_t frames,
                std::vector<std::uint8_t>& out);

    // Ends the run: replaces `out` with the last frames.
    bool Flush(std::vector<std::uint8_t>& out);

    // The summary frame for the start of the audio data, after Flush.
    std::vector<std::uint8_t> LameTagFrame() const;

private:
    void SetTags(const Mp3Tags& tags);
    void Release();

    lame_global_struct* m_lame = nullptr;
};

} // namespace vesplin
