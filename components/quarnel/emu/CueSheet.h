#pragma once
// What a CUE sheet says about a disc: its files, tracks, indexes and the texts
// that become CD-Text. Times are in frames (1/75 s) from the start of the
// track's file.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::emu {

enum class CueTrackMode : std::uint8_t { Audio, Mode1Raw, Mode2Raw, Other };

struct CueTrack {
    std::uint32_t number = 0;
    CueTrackMode mode = CueTrackMode::Audio;
    std::string modeText;      // as written: "AUDIO", "MODE1/2352" ...
    std::size_t fileIndex = 0; // into CueSheet::files
    std::optional<std::uint32_t> index0Frames;
    std::uint32_t index1Frames = 0;
    std::uint32_t pregapFrames = 0; // PREGAP: silence the drive adds, not in the file
    std::uint8_t control = 0;       // FLAGS: 1 PRE, 2 DCP, 8 4CH; 4 for data tracks
    std::string title;
    std::string performer;
    std::string isrc;
};

struct CueFile {
    std::string name; // as written in the sheet
    std::string type; // BINARY, MOTOROLA ...
};

struct CueSheet {
    std::string catalog;
    std::string title;
    std::string performer;
    std::string cdTextFile; // CDTEXTFILE: a file of raw CD-Text packs, as written
    std::vector<CueFile> files;
    std::vector<CueTrack> tracks;
    // REM lines as they stand after "REM ", in order.
    std::vector<std::string> remarks;
};

} // namespace quarnel::emu
