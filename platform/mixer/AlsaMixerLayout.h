#pragma once

// How the simple elements of an ALSA card mixer appear as recording source lines. Pure
// functions over plain data, so the rules can be checked without a sound card.

#include "platform/mixer/MixerLayout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform::mixer {

struct AlsaElementInfo {
    std::string name;
    bool hasCaptureVolume = false;
    bool hasCaptureSwitch = false;
    bool isCaptureEnum = false;
    std::vector<std::string> enumItems;
    std::uint32_t channels = 0;
    long volumeMin = 0;
    long volumeMax = 0;
};

// Which elements carry one source line; -1 where the line has none.
struct AlsaLineTarget {
    int volumeElement = -1;
    int switchElement = -1;
    int enumItem = -1;
};

struct AlsaLayoutPlan {
    int enumElement = -1; // the capture-source element behind a MUX
    std::vector<AlsaLineTarget> targets;
};

// With a capture-source element the card records one input at a time: its items are the
// lines of a MUX, each with the capture volume of the same name, else the card's "Capture"
// volume. Without one, every element with a capture switch or volume is a line of a MIXER,
// its switch choosing whether it is recorded.
void BuildAlsaLayout(const std::vector<AlsaElementInfo>& elements, MixerLayout& layout,
                     AlsaLayoutPlan& plan);

// The element's raw range laid linearly onto 0..65535, so that every backend's volume has
// the same scale; every raw step keeps its own value.
std::uint32_t MixerVolumeFromAlsa(long raw, long minimum, long maximum);
long AlsaVolumeFromMixer(std::uint32_t value, long minimum, long maximum);

} // namespace platform::mixer
