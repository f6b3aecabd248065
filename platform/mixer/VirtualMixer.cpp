#include "platform/mixer/VirtualMixer.h"

#include "platform/mixer/MixerTypes.h"
#include "platform/mixer/MuxSelection.h"
#include "platform/mixer/VirtualMixerStateLock.h"

#include <array>

namespace platform::mixer {

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

VirtualMixer::VirtualMixer() : VirtualMixer(VirtualMixerState::DefaultPath()) {}

VirtualMixer::VirtualMixer(std::filesystem::path statePath) : m_statePath(std::move(statePath)) {}

// The watch stops first, so that its thread no longer reaches the listener or m_seen.
VirtualMixer::~VirtualMixer() {
    m_watch.reset();
}

VirtualMixerState VirtualMixer::LoadState() const {
    VirtualMixerState state(channelsPerLine(), kDefaultVolume);
    state.Load(m_statePath, kMaxVolume);
    return state;
}

bool VirtualMixer::ReadLayout(MixerLayout& layout) {
    layout.deviceName = "Sondrel Virtual Mixer";
    layout.selectKind = MixerSelectKind::Mux;
    layout.lines.clear();
    for (const VirtualLine& line : kLines) {
        layout.lines.push_back({line.name, line.name, line.componentType, line.channels, true, 0,
                                kMaxVolume, kMaxVolume});
    }
    return true;
}

bool VirtualMixer::ReadSelection(std::vector<bool>& selected) {
    const VirtualMixerStateLock lock(m_statePath);
    const VirtualMixerState state = LoadState();
    selected.assign(kLines.size(), false);
    selected[state.Selected()] = true;
    return true;
}

bool VirtualMixer::WriteSelection(const std::vector<bool>& selected) {
    const std::optional<std::size_t> chosen = MuxChoice(selected, kLines.size());
    if (!chosen) {
        return false;
    }
    const VirtualMixerStateLock lock(m_statePath);
    VirtualMixerState state = LoadState();
    state.Select(*chosen);
    return state.Save(m_statePath);
}

bool VirtualMixer::ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size()) {
        return false;
    }
    const VirtualMixerStateLock lock(m_statePath);
    channelValues = LoadState().Volume(line);
    return true;
}

bool VirtualMixer::WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
    if (line >= kLines.size() || channelValues.size() != kLines[line].channels) {
        return false;
    }
    const VirtualMixerStateLock lock(m_statePath);
    VirtualMixerState state = LoadState();
    state.SetVolume(line, channelValues);
    return state.Save(m_statePath);
}

void VirtualMixer::WatchChanges(ChangeListener listener) {
    m_listener = std::move(listener);
    {
        const VirtualMixerStateLock lock(m_statePath);
        m_seen = std::make_unique<VirtualMixerState>(LoadState());
    }
    m_watch = std::make_unique<FileChangeWatch>(m_statePath, [this] { OnFileChanged(); });
}

void VirtualMixer::OnFileChanged() {
    VirtualMixerState now = [this] {
        const VirtualMixerStateLock lock(m_statePath);
        return LoadState();
    }();
    if (now.Selected() != m_seen->Selected()) {
        m_listener(MixerChange::Selection, static_cast<int>(now.Selected()));
    }
    for (std::size_t line = 0; line < kLines.size(); ++line) {
        if (now.Volume(line) != m_seen->Volume(line)) {
            m_listener(MixerChange::Volume, static_cast<int>(line));
        }
    }
    *m_seen = std::move(now);
}

} // namespace platform::mixer
