#pragma once
// An MP3 file decoded with libmpg123 for the encoder tests: its PCM (with the
// encoder delay and padding removed, as the summary frame tells), how the
// decoder saw the stream, and its ID3v2 title and track.

#include <cstdint>
#include <string>
#include <vector>

namespace vesplintest {

struct DecodedMp3 {
    bool decoded = false;          // opened and read to the end without an error
    std::vector<std::int16_t> pcm; // interleaved stereo
    long rateHz = 0;
    int channels = 0;
    bool variableBitRate = false;
    bool hasId3v2 = false;
    std::string title; // UTF-8
    std::string track;
    std::size_t Frames() const { return pcm.size() / 2; }
};

DecodedMp3 DecodeMp3(const std::string& path);

} // namespace vesplintest
