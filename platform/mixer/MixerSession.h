#pragma once

#include "platform/mixer/MixerBackend.h"
#include "platform/mixer/MixerNotifier.h"
#include "platform/mixer/MixerTypes.h"

#include <memory>
#include <mutex>

namespace platform::mixer {

// One open mixer handle: the backend's layout read at opening, presented as a recording
// destination line with one select control and its source lines with a volume control each.
// The layout stays as it was read for the life of the handle.
class MixerSession {
public:
    MixerSession(std::unique_ptr<MixerBackend> backend, MixerLayout layout);
    ~MixerSession();
    MixerSession(const MixerSession&) = delete;
    MixerSession& operator=(const MixerSession&) = delete;

    // Starts change notifications through callback; call once, right after construction.
    void NotifyTo(HMIXER mixer, MixerCallback callback, std::uintptr_t instance);
    bool IsNotifierThread() const;

    MMRESULT GetLineInfo(MIXERLINE* line, std::uint32_t infoFlags) const;
    MMRESULT GetLineControls(MIXERLINECONTROLS* controls, std::uint32_t controlsFlags) const;
    MMRESULT GetControlDetails(MIXERCONTROLDETAILS* details, std::uint32_t detailsFlags);
    MMRESULT SetControlDetails(const MIXERCONTROLDETAILS* details, std::uint32_t detailsFlags);

private:
    void FillDestination(MIXERLINE& line) const;
    void FillSource(std::size_t index, MIXERLINE& line) const;
    void FillSelectControl(MIXERCONTROL& control) const;
    void FillVolumeControl(std::size_t index, MIXERCONTROL& control) const;
    bool FindVolumeLine(std::uint32_t controlId, std::size_t& index) const;
    bool CheckSelectDetails(const MIXERCONTROLDETAILS& details, std::uint32_t itemBytes) const;
    void OnChange(MixerChange change, int line);
    MMRESULT GetSelection(MIXERCONTROLDETAILS& details);
    MMRESULT GetVolume(std::size_t index, MIXERCONTROLDETAILS& details);
    MMRESULT SetSelection(const MIXERCONTROLDETAILS& details);
    MMRESULT SetVolume(std::size_t index, const MIXERCONTROLDETAILS& details);

    MixerLayout m_layout;
    // Declared before the backend, so the backend (and with it every source of changes)
    // is gone before the notifier stops.
    std::unique_ptr<MixerNotifier> m_notifier;
    std::mutex m_backendLock;
    std::unique_ptr<MixerBackend> m_backend;
};

} // namespace platform::mixer
