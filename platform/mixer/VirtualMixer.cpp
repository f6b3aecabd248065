#include "platform/mixer/VirtualMixer.h"

#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/VirtualMixerHub.h"

#include <array>
#include <mutex>

namespace {

struct VirtualLine {
    const char* name;
    std::uint32_t componentType;
    std::uint32_t channels;
};

// A microphone is a mono input; the others are stereo.
constexpr std::array<VirtualLine, 4> kLines{{
    {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 1},
    {"Line   In", MIXERLINE_COMPONENTTYPE_SRC_LINE, 2},
    {"CD Audio", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, 2},
    {"Aux", MIXERLINE_COMPONENTTYPE_SRC_ANALOG, 2},
}};

std::vector<std::uint32_t> channelsPerLine() {
    std::vector<std::uint32_t> channels;
    for (const VirtualLine& line : kLines) {
        channels.push_back(line.channels);
    }
    return channels;
}

} // namespace

VirtualMixer::VirtualMixer() : VirtualMixer(VirtualMixerState::defaultPath()) {}

VirtualMixer::VirtualMixer(std::filesystem::path statePath) : m_statePath(std::move(statePath)) {}

VirtualMixer::~VirtualMixer() {
    if (m_subscription != 0) {
        VirtualMixerHub::instance().unsubscribe(m_subscription);
    }
}

VirtualMixerState VirtualMixer::loadState() const {
    VirtualMixerState state(channelsPerLine(), kDefaultVolume);
    state.load(m_statePath, kMaxVolume);
    return state;
}

bool VirtualMixer::readLayout(MixerLayout& layout) {
    layout.deviceName = "Sondrel Virtual Mixer";
    layout.selectKind = MixerSelectKind::Mux;
    layout.lines.clear();
    for (const VirtualLine& line : kLines) {
        layout.lines.push_back({line.name, line.name, line.componentType, line.channels, true, 0,
                                kMaxVolume, kMaxVolume});
    }
    return true;
}

bool VirtualMixer::readSelection(std::vector<bool>& selected) {
    std::lock_guard guard(VirtualMixerHub::instance().stateLock());
    const VirtualMixerState state = loadState();
    selected.assign(kLines.size(), false);
    selected[state.selected()] = true;
    return true;
}

bool VirtualMixer::writeSelection(const std::vector<bool>& selected) {
    const std::optional<std::size_t> chosen = muxChoice(selected, kLines.size());
    if (!chosen) {
        return false;
    }
    {
        std::lock_guard guard(VirtualMixerHub::instance().stateLock());
        VirtualMixerState state = loadState();
        state.select(*chosen);
        if (!state.save(m_statePath)) {
            return false;
        }
    }
    VirtualMixerHub::instance().publish(MixerChange::Selection, static_cast<int>(*chosen));
    return true;
}

bool VirtualMixer::readVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size()) {
        return false;
    }
    std::lock_guard guard(VirtualMixerHub::instance().stateLock());
    channelValues = loadState().volume(line);
    return true;
}

bool VirtualMixer::writeVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size() || channelValues.size() != kLines[line].channels) {
        return false;
    }
    {
        std::lock_guard guard(VirtualMixerHub::instance().stateLock());
        VirtualMixerState state = loadState();
        state.setVolume(line, channelValues);
        if (!state.save(m_statePath)) {
            return false;
        }
    }
    VirtualMixerHub::instance().publish(MixerChange::Volume, static_cast<int>(line));
    return true;
}

void VirtualMixer::watchChanges(ChangeListener listener) {
    m_subscription = VirtualMixerHub::instance().subscribe(std::move(listener));
}
