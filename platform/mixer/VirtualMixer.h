#pragma once

#include "platform/mixer/FileChangeWatch.h"
#include "platform/mixer/MixerBackend.h"
#include "platform/mixer/VirtualMixerState.h"

#include <filesystem>
#include <memory>

namespace platform::mixer {

// The mixer of the virtual input: four sources (Microphone, "Line   In", CD Audio and an
// analog line "Aux") behind a MUX, each with a volume of 0..65535 per channel. The state
// lives in a file, so it survives the program and is shared by every handle and process;
// a change of the file, whoever made it, is a change notification.
class VirtualMixer final : public MixerBackend {
public:
    static constexpr std::uint32_t kMaxVolume = 65535;
    static constexpr std::uint32_t kDefaultVolume = 49152;

    VirtualMixer();
    explicit VirtualMixer(std::filesystem::path statePath);
    ~VirtualMixer() override;
    VirtualMixer(const VirtualMixer&) = delete;
    VirtualMixer& operator=(const VirtualMixer&) = delete;

    bool ReadLayout(MixerLayout& layout) override;
    bool ReadSelection(std::vector<bool>& selected) override;
    bool WriteSelection(const std::vector<bool>& selected) override;
    bool ReadVolume(std::size_t line, std::vector<std::uint32_t>& channelValues) override;
    bool WriteVolume(std::size_t line, const std::vector<std::uint32_t>& channelValues) override;
    void WatchChanges(ChangeListener listener) override;

private:
    VirtualMixerState LoadState() const;
    // On the watch's thread: reports what differs from the state seen last.
    void OnFileChanged();

    std::filesystem::path m_statePath;
    ChangeListener m_listener;
    std::unique_ptr<VirtualMixerState> m_seen; // only touched by the watch's thread
    std::unique_ptr<FileChangeWatch> m_watch;
};

} // namespace platform::mixer
