#pragma once

#include "mixer/IVolume.h"
#include "platform/mixer/MixerTypes.h"

#include <atomic>
#include <cstdint>
#include <vector>

// The volume of one source line of the recording mixer, by its source index. Opens the mixer
// for its own lifetime with change notifications; every failure leaves it inert (getters
// report -1, setters do nothing). Meant to live for one operation.
class CVolumeInXXX final : public IVolume {
public:
    explicit CVolumeInXXX(std::uint32_t sourceIndex);
    ~CVolumeInXXX();
    CVolumeInXXX(const CVolumeInXXX&) = delete;
    CVolumeInXXX& operator=(const CVolumeInXXX&) = delete;

    bool IsVolumeAvailable() override;
    void SelectAsRecordingSource() override;
    void Reserved() override;
    std::int32_t GetVolumeStepCount() override;
    std::int32_t GetMinVolume() override;
    std::int32_t GetMaxVolume() override;
    std::int32_t GetVolume() override;
    void SetVolume(std::uint32_t value) override;
    VolumeChangeCallback SetChangeCallback(VolumeChangeCallback callback,
                                           std::uintptr_t user) override;

private:
    bool Open();
    bool Initialise(std::uint32_t sourceIndex);
    void Close();
    // Every channel of the volume control, one value each in channelValues.
    MIXERCONTROLDETAILS
    VolumeDetails(std::vector<MIXERCONTROLDETAILS_UNSIGNED>& channelValues) const;
    static void OnMixerChange(HMIXER mixer, std::uint32_t message, std::uintptr_t instance,
                              std::uint32_t controlId);

    bool m_opened = false;
    bool m_initialised = false;
    bool m_volumeAvailable = false;
    std::uint32_t m_mixerId = 0;
    HMIXER m_mixer = nullptr;
    std::uint32_t m_lineId = 0;
    std::uint32_t m_volumeControlId = 0;
    std::uint32_t m_channels = 0;
    std::uint32_t m_sourceIndex = 0;
    std::uint32_t m_foundSourceIndex = 0xFFFFFFFFu;
    std::int32_t m_minimum = -1;
    std::int32_t m_maximum = -1;
    std::int32_t m_steps = -1;
    VolumeChangeCallback m_callback = nullptr;
    std::uintptr_t m_callbackUser = 0;
};

// The object that hears of volume changes: the last one constructed successfully; null
// again as soon as any object is destroyed.
extern std::atomic<CVolumeInXXX*> g_activeVolume;
