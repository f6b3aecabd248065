#pragma once
// How MP3 files are encoded, read from the "Mp3" section of SoftSet.ini:
//   Mode=CBR | VBR       constant or variable bit rate          (default CBR)
//   BitRate=<kbit/s>     the CBR bit rate, an MPEG-1 Layer III
//                        rate from 32 to 320                    (default 192)
//   VbrQuality=<0..9>    the VBR quality, 0 best and largest    (default 2)
// A missing file or key, or a value out of range, gives the default.
//
// CBR is the default because a take is written while it is recorded: the
// length read-out then grows at a known rate, and a file whose recording is
// cut short (program killed, disk full) still has the bit rate of its first
// frame throughout, so players show its duration and seek in it correctly
// without the summary frame that is only completed at the end. At 192 kbit/s
// the sound of a 44.1 kHz stereo take is as good as VBR quality 2 on average.

#include <string>

namespace vesplin {

enum class Mp3Mode { Cbr, Vbr };

struct Mp3Settings {
    static constexpr int kDefaultBitRateKbps = 192;
    static constexpr int kDefaultVbrQuality = 2;

    Mp3Mode mode = Mp3Mode::Cbr;
    int bitRateKbps = kDefaultBitRateKbps;
    int vbrQuality = kDefaultVbrQuality;
};

// The settings in `iniPath`, each one that is missing or invalid replaced by
// its default.
Mp3Settings ReadMp3Settings(const std::string& iniPath);

} // namespace vesplin
