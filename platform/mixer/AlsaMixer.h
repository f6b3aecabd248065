#pragma once

#include "platform/mixer/AlsaMixerLayout.h"
#include "platform/mixer/MixerBackend.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace platform::mixer {

// The capture side of a sound card's own mixer (used when no sound server runs): see
// BuildAlsaLayout for how its elements become source lines. The card's control events are
// the change notifications, read on a thread of the backend.
class AlsaMixer final : public MixerBackend {
public:
    // Null when the device has no mixer or nothing on it can be recorded.
    static std::unique_ptr<AlsaMixer> Open(const std::string& device);
    ~AlsaMixer() override;
    AlsaMixer(const AlsaMixer&) = delete;
    AlsaMixer& operator=(const AlsaMixer&) = delete;

    bool ReadLayout(MixerLayout& layout) override;
    bool ReadSelection(std::vector<bool>& selected) override;
    bool WriteSelection(const std::vector<bool>& selected) override;
    bool ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) override;
    bool WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) override;
    void WatchChanges(ChangeListener listener) override;

private:
    AlsaMixer(snd_mixer_t* mixer, std::string cardName);
    void ReadElements();
    void Watch();
    void OnElementChanged(snd_mixer_elem_t* element);
    static int OnElementEvent(snd_mixer_elem_t* element, unsigned int mask);

    snd_mixer_t* m_mixer = nullptr;
    std::string m_cardName;
    std::vector<snd_mixer_elem_t*> m_elements;
    std::vector<AlsaElementInfo> m_infos;
    AlsaLayoutPlan m_plan;
    MixerLayout m_layout;
    std::mutex m_lock; // guards m_mixer between callers and the watch thread
    ChangeListener m_listener;
    std::atomic<bool> m_stopping{false};
    int m_wakeFd = -1;
    std::thread m_watcher;
};

} // namespace platform::mixer
