#include "platform/mixer/PulseSourceMapping.h"

#include "platform/mixer/ComponentTypeGuess.h"
#include "platform/mixer/MixerText.h"
#include "platform/mixer/MixerTypes.h"

#include <pulse/def.h>
#include <pulse/volume.h>

#include <algorithm>

namespace platform::mixer {

namespace {

constexpr std::size_t kShortNameBytes = MIXER_SHORT_NAME_CHARS - 1;
constexpr std::size_t kLongNameBytes = MIXER_LONG_NAME_CHARS - 1;
constexpr std::uint32_t kMaxMixerVolume = 65535;

std::uint32_t typeFromPort(const PulsePortInfo& port) {
    switch (port.type) {
    case PA_DEVICE_PORT_TYPE_MIC:
    case PA_DEVICE_PORT_TYPE_HEADSET:
    case PA_DEVICE_PORT_TYPE_HANDSFREE:
        return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    case PA_DEVICE_PORT_TYPE_LINE:
        return MIXERLINE_COMPONENTTYPE_SRC_LINE;
    case PA_DEVICE_PORT_TYPE_HANDSET:
    case PA_DEVICE_PORT_TYPE_PHONE:
        return MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE;
    case PA_DEVICE_PORT_TYPE_UNKNOWN:
        return ComponentTypeFromName(port.name + " " + port.description);
    default:
        // Every other input (digital, radio, video, USB, Bluetooth, ...) is still something
        // to record from; the analog type is the one that keeps it in the list.
        return MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
    }
}

std::string sourceTitle(const PulseSourceInfo& source) {
    return source.description.empty() ? source.name : source.description;
}

} // namespace

std::uint32_t PulseComponentType(const PulseSourceInfo& source, const PulsePortInfo* port) {
    if (port != nullptr) {
        return typeFromPort(*port);
    }
    if (source.isMonitor) {
        return MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
    }
    const std::string& formFactor = source.formFactor;
    if (formFactor == "microphone" || formFactor == "webcam" || formFactor == "headset" ||
        formFactor == "hands-free") {
        return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    }
    if (formFactor == "handset") {
        return MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE;
    }
    if (source.ports.size() == 1) {
        return typeFromPort(source.ports.front());
    }
    return ComponentTypeFromName(source.name + " " + source.description);
}

void BuildPulseLayout(const std::vector<PulseSourceInfo>& sources, MixerLayout& layout,
                      std::vector<PulseLineTarget>& targets) {
    std::vector<const PulseSourceInfo*> ordered;
    ordered.reserve(sources.size());
    for (const PulseSourceInfo& source : sources) {
        ordered.push_back(&source);
    }
    std::sort(
        ordered.begin(), ordered.end(),
        [](const PulseSourceInfo* a, const PulseSourceInfo* b) { return a->index < b->index; });

    layout.deviceName = "Sound Server";
    layout.selectKind = MixerSelectKind::Mux;
    layout.lines.clear();
    targets.clear();
    int monitors = 0;
    for (const PulseSourceInfo* source : ordered) {
        MixerSourceLine line;
        line.channels = source->channels;
        line.hasVolume = source->channels > 0;
        line.volumeMin = 0;
        line.volumeMax = kMaxMixerVolume;
        line.volumeSteps = kMaxMixerVolume;
        if (source->ports.size() >= 2) {
            for (const PulsePortInfo& port : source->ports) {
                line.shortName = FitText(port.description, kShortNameBytes);
                line.name =
                    FitText(port.description + " - " + sourceTitle(*source), kLongNameBytes);
                line.componentType = PulseComponentType(*source, &port);
                layout.lines.push_back(line);
                targets.push_back({source->name, source->index, port.name});
            }
            continue;
        }
        if (source->isMonitor) {
            // What the computer plays; numbered when there are several outputs.
            ++monitors;
            line.shortName = monitors == 1 ? "Playback" : "Playback " + std::to_string(monitors);
        } else {
            line.shortName = FitText(sourceTitle(*source), kShortNameBytes);
        }
        line.name = FitText(sourceTitle(*source), kLongNameBytes);
        line.componentType = PulseComponentType(*source, nullptr);
        layout.lines.push_back(line);
        targets.push_back({source->name, source->index, std::string()});
    }
}

std::vector<bool> PulseSelection(const std::vector<PulseLineTarget>& targets,
                                 const std::vector<PulseSourceInfo>& sources,
                                 const std::string& defaultSource) {
    std::string activePort;
    for (const PulseSourceInfo& source : sources) {
        if (source.name == defaultSource) {
            activePort = source.activePort;
        }
    }
    std::vector<bool> selected(targets.size(), false);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        selected[i] = targets[i].sourceName == defaultSource &&
                      (targets[i].port.empty() || targets[i].port == activePort);
    }
    return selected;
}

std::uint32_t MixerVolumeFromPulse(std::uint32_t pulseVolume) {
    const std::uint64_t scaled =
        (static_cast<std::uint64_t>(pulseVolume) * kMaxMixerVolume + PA_VOLUME_NORM / 2) /
        PA_VOLUME_NORM;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(scaled, kMaxMixerVolume));
}

std::uint32_t PulseVolumeFromMixer(std::uint32_t mixerVolume) {
    const std::uint64_t clamped = std::min(mixerVolume, kMaxMixerVolume);
    return static_cast<std::uint32_t>((clamped * PA_VOLUME_NORM + kMaxMixerVolume / 2) /
                                      kMaxMixerVolume);
}

} // namespace platform::mixer
