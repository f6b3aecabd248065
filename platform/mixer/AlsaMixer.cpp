#include "platform/mixer/AlsaMixer.h"

#include "platform/mixer/MuxSelection.h"

#include <algorithm>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace platform::mixer {

namespace {

constexpr std::size_t kEnumNameBytes = 64;

std::string cardNameOf(const std::string& device) {
    snd_ctl_t* control = nullptr;
    std::string name = "ALSA " + device;
    if (snd_ctl_open(&control, device.c_str(), 0) < 0) {
        return name;
    }
    snd_ctl_card_info_t* info = nullptr;
    if (snd_ctl_card_info_malloc(&info) == 0) {
        if (snd_ctl_card_info(control, info) == 0) {
            name = snd_ctl_card_info_get_name(info);
        }
        snd_ctl_card_info_free(info);
    }
    snd_ctl_close(control);
    return name;
}

std::uint32_t captureChannels(snd_mixer_elem_t* element) {
    if (snd_mixer_selem_is_capture_mono(element)) {
        return 1;
    }
    std::uint32_t channels = 0;
    while (channels <= SND_MIXER_SCHN_LAST &&
           snd_mixer_selem_has_capture_channel(
               element, static_cast<snd_mixer_selem_channel_id_t>(channels))) {
        ++channels;
    }
    return channels;
}

snd_mixer_selem_channel_id_t channelId(std::size_t channel) {
    return static_cast<snd_mixer_selem_channel_id_t>(channel);
}

} // namespace

std::unique_ptr<AlsaMixer> AlsaMixer::Open(const std::string& device) {
    snd_mixer_t* mixer = nullptr;
    if (snd_mixer_open(&mixer, 0) < 0) {
        return nullptr;
    }
    if (snd_mixer_attach(mixer, device.c_str()) < 0 ||
        snd_mixer_selem_register(mixer, nullptr, nullptr) < 0 || snd_mixer_load(mixer) < 0) {
        snd_mixer_close(mixer);
        return nullptr;
    }
    std::unique_ptr<AlsaMixer> backend(new AlsaMixer(mixer, cardNameOf(device)));
    backend->ReadElements();
    if (backend->m_layout.lines.empty()) {
        return nullptr;
    }
    return backend;
}

AlsaMixer::AlsaMixer(snd_mixer_t* mixer, std::string cardName)
    : m_mixer(mixer), m_cardName(std::move(cardName)) {}

AlsaMixer::~AlsaMixer() {
    if (m_watcher.joinable()) {
        m_stopping.store(true, std::memory_order_relaxed);
        const std::uint64_t one = 1;
        static_cast<void>(write(m_wakeFd, &one, sizeof one));
        m_watcher.join();
    }
    if (m_wakeFd >= 0) {
        close(m_wakeFd);
    }
    snd_mixer_close(m_mixer);
}

void AlsaMixer::ReadElements() {
    for (snd_mixer_elem_t* element = snd_mixer_first_elem(m_mixer); element != nullptr;
         element = snd_mixer_elem_next(element)) {
        if (!snd_mixer_selem_is_active(element)) {
            continue;
        }
        AlsaElementInfo info;
        info.name = snd_mixer_selem_get_name(element);
        info.hasCaptureVolume = snd_mixer_selem_has_capture_volume(element) != 0;
        info.hasCaptureSwitch = snd_mixer_selem_has_capture_switch(element) != 0;
        info.isCaptureEnum =
            snd_mixer_selem_is_enumerated(element) && snd_mixer_selem_is_enum_capture(element);
        info.channels = captureChannels(element);
        if (info.hasCaptureVolume) {
            snd_mixer_selem_get_capture_volume_range(element, &info.volumeMin, &info.volumeMax);
        }
        if (info.isCaptureEnum) {
            const int items = snd_mixer_selem_get_enum_items(element);
            for (int item = 0; item < items; ++item) {
                char name[kEnumNameBytes] = {};
                snd_mixer_selem_get_enum_item_name(element, static_cast<unsigned>(item),
                                                   sizeof name, name);
                info.enumItems.emplace_back(name);
            }
        }
        m_elements.push_back(element);
        m_infos.push_back(std::move(info));
    }
    BuildAlsaLayout(m_infos, m_layout, m_plan);
    m_layout.deviceName = m_cardName;
}

bool AlsaMixer::ReadLayout(MixerLayout& layout) {
    layout = m_layout;
    return true;
}

bool AlsaMixer::ReadSelection(std::vector<bool>& selected) {
    std::lock_guard guard(m_lock);
    selected.assign(m_plan.targets.size(), false);
    if (m_plan.enumElement >= 0) {
        unsigned int item = 0;
        if (snd_mixer_selem_get_enum_item(m_elements[m_plan.enumElement], channelId(0), &item) <
            0) {
            return false;
        }
        for (std::size_t line = 0; line < m_plan.targets.size(); ++line) {
            selected[line] = m_plan.targets[line].enumItem == static_cast<int>(item);
        }
        return true;
    }
    for (std::size_t line = 0; line < m_plan.targets.size(); ++line) {
        const int element = m_plan.targets[line].switchElement;
        int on = 1; // a line without a switch is always recorded
        if (element >= 0 &&
            snd_mixer_selem_get_capture_switch(m_elements[element], channelId(0), &on) < 0) {
            return false;
        }
        selected[line] = on != 0;
    }
    return true;
}

bool AlsaMixer::WriteSelection(const std::vector<bool>& selected) {
    if (selected.size() != m_plan.targets.size()) {
        return false;
    }
    std::lock_guard guard(m_lock);
    if (m_plan.enumElement >= 0) {
        const std::optional<std::size_t> chosen = MuxChoice(selected, m_plan.targets.size());
        if (!chosen) {
            return false;
        }
        const AlsaLineTarget& target = m_plan.targets[*chosen];
        snd_mixer_elem_t* element = m_elements[m_plan.enumElement];
        const std::size_t channels =
            std::max<std::uint32_t>(m_infos[m_plan.enumElement].channels, 1);
        for (std::size_t c = 0; c < channels; ++c) {
            if (snd_mixer_selem_set_enum_item(element, channelId(c),
                                              static_cast<unsigned>(target.enumItem)) < 0) {
                return false;
            }
        }
        return true;
    }
    for (std::size_t line = 0; line < selected.size(); ++line) {
        const int element = m_plan.targets[line].switchElement;
        if (element >= 0 && snd_mixer_selem_set_capture_switch_all(m_elements[element],
                                                                   selected[line] ? 1 : 0) < 0) {
            return false;
        }
    }
    return true;
}

bool AlsaMixer::ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) {
    if (line >= m_plan.targets.size() || m_plan.targets[line].volumeElement < 0) {
        return false;
    }
    const int index = m_plan.targets[line].volumeElement;
    const AlsaElementInfo& info = m_infos[index];
    std::lock_guard guard(m_lock);
    channelValues.clear();
    for (std::size_t c = 0; c < m_layout.lines[line].channels; ++c) {
        long raw = 0;
        if (snd_mixer_selem_get_capture_volume(m_elements[index], channelId(c), &raw) < 0) {
            return false;
        }
        channelValues.push_back(MixerVolumeFromAlsa(raw, info.volumeMin, info.volumeMax));
    }
    return true;
}

bool AlsaMixer::WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) {
    if (line >= m_plan.targets.size() || m_plan.targets[line].volumeElement < 0) {
        return false;
    }
    const int index = m_plan.targets[line].volumeElement;
    const AlsaElementInfo& info = m_infos[index];
    std::lock_guard guard(m_lock);
    for (std::size_t c = 0; c < channelValues.size(); ++c) {
        const long raw = AlsaVolumeFromMixer(channelValues[c], info.volumeMin, info.volumeMax);
        if (snd_mixer_selem_set_capture_volume(m_elements[index], channelId(c), raw) < 0) {
            return false;
        }
    }
    return true;
}

void AlsaMixer::WatchChanges(ChangeListener listener) {
    m_listener = std::move(listener);
    m_wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd < 0) {
        return;
    }
    {
        std::lock_guard guard(m_lock);
        for (snd_mixer_elem_t* element : m_elements) {
            snd_mixer_elem_set_callback_private(element, this);
            snd_mixer_elem_set_callback(element, &AlsaMixer::OnElementEvent);
        }
    }
    m_watcher = std::thread([this] { Watch(); });
}

void AlsaMixer::Watch() {
    // relaxed: the flag only ends the loop; the wake-up write makes poll return.
    while (!m_stopping.load(std::memory_order_relaxed)) {
        std::vector<pollfd> fds;
        {
            std::lock_guard guard(m_lock);
            const int count = snd_mixer_poll_descriptors_count(m_mixer);
            fds.resize(static_cast<std::size_t>(std::max(count, 0)) + 1);
            if (count > 0) {
                snd_mixer_poll_descriptors(m_mixer, fds.data() + 1, static_cast<unsigned>(count));
            }
        }
        fds[0] = {m_wakeFd, POLLIN, 0};
        if (poll(fds.data(), fds.size(), -1) < 0) {
            continue;
        }
        if (m_stopping.load(std::memory_order_relaxed)) {
            return;
        }
        std::lock_guard guard(m_lock);
        snd_mixer_handle_events(m_mixer);
    }
}

int AlsaMixer::OnElementEvent(snd_mixer_elem_t* element, unsigned int mask) {
    if (mask != SND_CTL_EVENT_MASK_REMOVE && (mask & SND_CTL_EVENT_MASK_VALUE) != 0) {
        static_cast<AlsaMixer*>(snd_mixer_elem_get_callback_private(element))
            ->OnElementChanged(element);
    }
    return 0;
}

void AlsaMixer::OnElementChanged(snd_mixer_elem_t* element) {
    const auto found = std::find(m_elements.begin(), m_elements.end(), element);
    if (found == m_elements.end()) {
        return;
    }
    const int index = static_cast<int>(found - m_elements.begin());
    bool selection = index == m_plan.enumElement;
    for (std::size_t line = 0; line < m_plan.targets.size(); ++line) {
        const AlsaLineTarget& target = m_plan.targets[line];
        if (target.volumeElement == index) {
            m_listener(MixerChange::Volume, static_cast<int>(line));
        }
        selection = selection || target.switchElement == index;
    }
    if (selection) {
        m_listener(MixerChange::Selection, -1);
    }
}

} // namespace platform::mixer
