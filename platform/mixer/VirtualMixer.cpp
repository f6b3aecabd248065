#include "platform/mixer/VirtualMixer.h"

#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/VirtualMixerStateLock.h"

#include <array>

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
    channels.reserve(kLines.size());
    for (const VirtualLine& line : kLines) {
        channels.push_back(line.channels);
    }
    return channels;
}

} // namespace

VirtualMixer::VirtualMixer() : VirtualMixer(VirtualMixerState::defaultPath()) {}

VirtualMixer::VirtualMixer(std::filesystem::path statePath) : m_statePath(std::move(statePath)) {}

// The watch stops first, so that its thread no longer reaches the listener or m_seen.
VirtualMixer::~VirtualMixer() {
    m_watch.reset();
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
                                kMaxVolume, kMaxVolume, line.name});
    }
    return true;
}

bool VirtualMixer::readSelection(std::vector<bool>& selected) {
    const VirtualMixerStateLock lock(m_statePath);
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
    const VirtualMixerStateLock lock(m_statePath);
    VirtualMixerState state = loadState();
    state.select(*chosen);
    return state.save(m_statePath);
}

bool VirtualMixer::readVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size()) {
        return false;
    }
    const VirtualMixerStateLock lock(m_statePath);
    channelValues = loadState().volume(line);
    return true;
}

bool VirtualMixer::writeVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size() || channelValues.size() != kLines[line].channels) {
        return false;
    }
    const VirtualMixerStateLock lock(m_statePath);
    VirtualMixerState state = loadState();
    state.setVolume(line, channelValues);
    return state.save(m_statePath);
}

void VirtualMixer::watchChanges(ChangeListener listener) {
    m_listener = std::move(listener);
    {
        const VirtualMixerStateLock lock(m_statePath);
        m_seen = std::make_unique<VirtualMixerState>(loadState());
    }
    m_watch = std::make_unique<FileChangeWatch>(m_statePath, [this] { onFileChanged(); });
}

void VirtualMixer::onFileChanged() {
    VirtualMixerState now = [this] {
        const VirtualMixerStateLock lock(m_statePath);
        return loadState();
    }();
    if (now.selected() != m_seen->selected()) {
        m_listener(MixerChange::Selection, static_cast<int>(now.selected()));
    }
    for (std::size_t line = 0; line < kLines.size(); ++line) {
        if (now.volume(line) != m_seen->volume(line)) {
            m_listener(MixerChange::Volume, static_cast<int>(line));
        }
    }
    *m_seen = std::move(now);
}
