#include "platform/mixer/MixerBackendFactory.h"

#include "platform/mixer/AlsaMixer.h"
#include "platform/mixer/PulseMixer.h"
#include "platform/mixer/VirtualMixer.h"
#include "util/Environment.h"

#include <string>

namespace platform::mixer {

namespace {

bool virtualInputChosen() {
    const std::string input = util::EnvironmentValue("SONDREL_AUDIO_INPUT");
    return input == "tone" || input == "silence" || input.starts_with("file:");
}

std::unique_ptr<MixerBackend> openAlsa() {
    const std::string device = util::EnvironmentValue("SONDREL_MIXER_DEVICE");
    return AlsaMixer::Open(device.empty() ? "default" : device);
}

} // namespace

std::unique_ptr<MixerBackend> OpenMixerBackend() {
    const std::string forced = util::EnvironmentValue("SONDREL_MIXER");
    if (forced == "virtual" || (forced.empty() && virtualInputChosen())) {
        return std::make_unique<VirtualMixer>();
    }
    if (forced == "pulse") {
        return PulseMixer::Open();
    }
    if (forced == "alsa") {
        return openAlsa();
    }
    if (std::unique_ptr<MixerBackend> pulse = PulseMixer::Open()) {
        return pulse;
    }
    return openAlsa();
}

} // namespace platform::mixer
