#include "platform/mixer/AlsaMixerLayout.h"

#include "platform/mixer/ComponentTypeGuess.h"
#include "platform/mixer/MixerText.h"
#include "platform/mixer/MixerTypes.h"

#include <algorithm>

namespace platform::mixer {

namespace {

constexpr std::uint32_t kMaxMixerVolume = 65535;
constexpr std::uint32_t kDefaultChannels = 2;

int findCaptureVolume(const std::vector<AlsaElementInfo>& elements, const std::string& name) {
    for (std::size_t i = 0; i < elements.size(); ++i) {
        if (elements[i].hasCaptureVolume && elements[i].name == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

MixerSourceLine makeLine(const std::string& name, const AlsaElementInfo* volume) {
    MixerSourceLine line;
    line.shortName = FitText(name, MIXER_SHORT_NAME_CHARS - 1);
    line.name = FitText(name, MIXER_LONG_NAME_CHARS - 1);
    line.componentType = ComponentTypeFromName(name);
    line.channels = volume != nullptr && volume->channels > 0 ? volume->channels : kDefaultChannels;
    line.hasVolume = volume != nullptr && volume->volumeMax > volume->volumeMin;
    line.volumeMin = 0;
    line.volumeMax = line.hasVolume ? kMaxMixerVolume : 0;
    line.volumeSteps =
        line.hasVolume ? static_cast<std::uint32_t>(volume->volumeMax - volume->volumeMin) : 0;
    return line;
}

} // namespace

void BuildAlsaLayout(const std::vector<AlsaElementInfo>& elements, MixerLayout& layout,
                     AlsaLayoutPlan& plan) {
    layout.lines.clear();
    plan = AlsaLayoutPlan{};
    const auto enumElement = std::find_if(elements.begin(), elements.end(),
                                          [](const AlsaElementInfo& e) { return e.isCaptureEnum; });
    if (enumElement != elements.end()) {
        layout.selectKind = MixerSelectKind::Mux;
        plan.enumElement = static_cast<int>(enumElement - elements.begin());
        const int masterVolume = findCaptureVolume(elements, "Capture");
        for (std::size_t item = 0; item < enumElement->enumItems.size(); ++item) {
            const std::string& name = enumElement->enumItems[item];
            int volume = findCaptureVolume(elements, name);
            if (volume < 0) {
                volume = masterVolume;
            }
            layout.lines.push_back(makeLine(name, volume < 0 ? nullptr : &elements[volume]));
            plan.targets.push_back({volume, -1, static_cast<int>(item)});
        }
        return;
    }
    layout.selectKind = MixerSelectKind::Mixer;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const AlsaElementInfo& element = elements[i];
        if (!element.hasCaptureVolume && !element.hasCaptureSwitch) {
            continue;
        }
        layout.lines.push_back(
            makeLine(element.name, element.hasCaptureVolume ? &element : nullptr));
        const int index = static_cast<int>(i);
        plan.targets.push_back(
            {element.hasCaptureVolume ? index : -1, element.hasCaptureSwitch ? index : -1, -1});
    }
}

std::uint32_t MixerVolumeFromAlsa(long raw, long minimum, long maximum) {
    if (maximum <= minimum) {
        return 0;
    }
    const long clamped = std::clamp(raw, minimum, maximum);
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long scaled =
        ((static_cast<long long>(clamped) - minimum) * kMaxMixerVolume + range / 2) / range;
    return static_cast<std::uint32_t>(scaled);
}

long AlsaVolumeFromMixer(std::uint32_t value, long minimum, long maximum) {
    if (maximum <= minimum) {
        return minimum;
    }
    const long long range = static_cast<long long>(maximum) - minimum;
    const long long clamped = std::min<long long>(value, kMaxMixerVolume);
    return static_cast<long>(minimum + (clamped * range + kMaxMixerVolume / 2) / kMaxMixerVolume);
}

} // namespace platform::mixer
