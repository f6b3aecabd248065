#include "platform/mixer/MixerBackendFactory.h"

#include "platform/mixer/AlsaMixer.h"
#include "platform/mixer/Environment.h"
#include "platform/mixer/PulseMixer.h"
#include "platform/mixer/VirtualMixer.h"

#include <string>

namespace {

bool virtualInputChosen() {
    const std::string input = environmentValue("SONDREL_AUDIO_INPUT");
    return input == "tone" || input == "silence" || input.starts_with("file:");
}

std::unique_ptr<MixerBackend> openAlsa() {
    const std::string device = environmentValue("SONDREL_MIXER_DEVICE");
    return AlsaMixer::open(device.empty() ? "default" : device);
}

} // namespace

std::unique_ptr<MixerBackend> openMixerBackend() {
    const std::string forced = environmentValue("SONDREL_MIXER");
    if (forced == "virtual" || (forced.empty() && virtualInputChosen())) {
        return std::make_unique<VirtualMixer>();
    }
    if (forced == "pulse") {
        return PulseMixer::open();
    }
    if (forced == "alsa") {
        return openAlsa();
    }
    if (std::unique_ptr<MixerBackend> pulse = PulseMixer::open()) {
        return pulse;
    }
    return openAlsa();
}
