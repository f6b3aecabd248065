#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform::mixer {

enum class MixerSelectKind {
    Mux,   // exactly one source line is recorded
    Mixer, // any set of source lines is recorded
};

struct MixerSourceLine {
    std::string shortName;
    std::string name;
    std::uint32_t componentType = 0;
    std::uint32_t channels = 0;
    bool hasVolume = false;
    std::uint32_t volumeMin = 0;
    std::uint32_t volumeMax = 0;
    std::uint32_t volumeSteps = 0;
};

struct MixerLayout {
    std::string deviceName;
    MixerSelectKind selectKind = MixerSelectKind::Mux;
    std::vector<MixerSourceLine> lines;
};

} // namespace platform::mixer
