#include "mixer/CVolumeInXXX.h"

#include "platform/mixer/MixerApi.h"

#include <mutex>
#include <vector>

std::atomic<CVolumeInXXX*> g_activeVolume{nullptr};

namespace {

// Held while g_activeVolume changes, while the object it names is being initialised and
// while a notification reads that object, so that a notification never meets an object that
// is half built or being destroyed.
std::mutex g_activeVolumeLock;

} // namespace

CVolumeInXXX::CVolumeInXXX(std::uint32_t sourceIndex) {
    m_opened = Open();
    if (!m_opened) {
        return;
    }
    bool initialised = false;
    {
        std::lock_guard guard(g_activeVolumeLock);
        // relaxed: every reader takes g_activeVolumeLock, which orders the accesses.
        g_activeVolume.store(this, std::memory_order_relaxed);
        initialised = Initialise(sourceIndex);
        if (!initialised) {
            g_activeVolume.store(nullptr, std::memory_order_relaxed);
        }
    }
    // Closed outside the lock: closing waits for a notification of this mixer in progress,
    // which may itself be waiting for the lock.
    if (!initialised) {
        Close();
    }
}

CVolumeInXXX::~CVolumeInXXX() {
    {
        std::lock_guard guard(g_activeVolumeLock);
        g_activeVolume.store(nullptr, std::memory_order_relaxed);
    }
    if (m_opened) {
        Close();
    }
}

bool CVolumeInXXX::Open() {
    if (mixerGetNumDevs() == 0) {
        return false;
    }
    if (mixerGetID(WAVE_MAPPER, &m_mixerId, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR) {
        return false;
    }
    return mixerOpen(&m_mixer, m_mixerId, &CVolumeInXXX::OnMixerChange, 0, CALLBACK_FUNCTION) ==
           MMSYSERR_NOERROR;
}

void CVolumeInXXX::Close() {
    mixerClose(m_mixer);
    m_mixer = nullptr;
    m_opened = false;
    m_initialised = false;
}

bool CVolumeInXXX::Initialise(std::uint32_t sourceIndex) {
    MIXERLINE destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfo(m_mixer, &destination, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    if (sourceIndex >= destination.cConnections) {
        return false;
    }
    MIXERLINE source;
    source.dwDestination = destination.dwDestination;
    source.dwSource = sourceIndex;
    if (mixerGetLineInfo(m_mixer, &source, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) {
        return false;
    }

    MIXERCONTROL control;
    MIXERLINECONTROLS controls;
    controls.dwLineID = source.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.pamxctrl = &control;
    const bool found = mixerGetLineControls(m_mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                       MMSYSERR_NOERROR;
    m_volumeAvailable = found && (control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) == 0;

    for (std::uint32_t i = 0; i < destination.cConnections; ++i) {
        MIXERLINE candidate;
        candidate.dwDestination = destination.dwDestination;
        candidate.dwSource = i;
        if (mixerGetLineInfo(m_mixer, &candidate, MIXER_GETLINEINFOF_SOURCE) == MMSYSERR_NOERROR &&
            candidate.dwSource == sourceIndex) {
            m_foundSourceIndex = i;
            break;
        }
    }

    m_sourceIndex = sourceIndex;
    m_channels = source.cChannels;
    m_lineId = source.dwLineID;
    if (found) {
        m_volumeControlId = control.dwControlID;
        m_minimum = static_cast<std::int32_t>(control.Bounds.dwMinimum);
        m_maximum = static_cast<std::int32_t>(control.Bounds.dwMaximum);
        m_steps = static_cast<std::int32_t>(control.Metrics.cSteps);
    }
    m_initialised = true;
    return true;
}

bool CVolumeInXXX::IsVolumeAvailable() {
    return m_volumeAvailable;
}

void CVolumeInXXX::SelectAsRecordingSource() {
    if (!m_initialised) {
        return;
    }
    MIXERLINE destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfo(m_mixer, &destination, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
            MMSYSERR_NOERROR ||
        destination.cControls == 0) {
        return;
    }
    std::vector<MIXERCONTROL> all(destination.cControls);
    MIXERLINECONTROLS controls;
    controls.dwLineID = destination.dwLineID;
    controls.cControls = destination.cControls;
    controls.pamxctrl = all.data();
    if (mixerGetLineControls(m_mixer, &controls, MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR) {
        return;
    }
    for (const MIXERCONTROL& control : all) {
        if ((control.dwControlType & MIXERCONTROL_CT_UNITS_MASK) != MIXERCONTROL_CT_UNITS_BOOLEAN) {
            continue;
        }
        const bool uniform = (control.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) != 0;
        const bool multiple = (control.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
        const std::uint32_t channels = uniform ? 1 : destination.cChannels;
        const std::uint32_t items = multiple ? control.cMultipleItems : 1;
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(static_cast<std::size_t>(channels) * items);
        for (std::uint32_t channel = 0; channel < channels; ++channel) {
            for (std::uint32_t item = 0; item < items; ++item) {
                const bool on = !multiple || item == m_sourceIndex;
                values[channel * items + item].fValue = on ? 1 : 0;
            }
        }
        MIXERCONTROLDETAILS details;
        details.dwControlID = control.dwControlID;
        details.cChannels = channels;
        details.cMultipleItems = multiple ? control.cMultipleItems : 0;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
        details.paDetails = values.data();
        mixerSetControlDetails(m_mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE);
    }
}

void CVolumeInXXX::Reserved() {}

std::int32_t CVolumeInXXX::GetVolumeStepCount() {
    return m_volumeAvailable ? m_steps : -1;
}

std::int32_t CVolumeInXXX::GetMinVolume() {
    return m_volumeAvailable ? m_minimum : -1;
}

std::int32_t CVolumeInXXX::GetMaxVolume() {
    return m_volumeAvailable ? m_maximum : -1;
}

MIXERCONTROLDETAILS
CVolumeInXXX::VolumeDetails(std::vector<MIXERCONTROLDETAILS_UNSIGNED>& channelValues) const {
    MIXERCONTROLDETAILS details;
    details.dwControlID = m_volumeControlId;
    details.cChannels = m_channels;
    details.cMultipleItems = 0;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = channelValues.data();
    return details;
}

std::int32_t CVolumeInXXX::GetVolume() {
    if (!m_volumeAvailable) {
        return -1;
    }
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels);
    MIXERCONTROLDETAILS details = VolumeDetails(values);
    if (values.empty() ||
        mixerGetControlDetails(m_mixer, &details, MIXER_GETCONTROLDETAILSF_VALUE) !=
            MMSYSERR_NOERROR) {
        return -1;
    }
    return static_cast<std::int32_t>(values.front().dwValue);
}

void CVolumeInXXX::SetVolume(std::uint32_t value) {
    const auto wanted = static_cast<std::int64_t>(value);
    if (!m_volumeAvailable || wanted < m_minimum || wanted > m_maximum) {
        return;
    }
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels);
    for (MIXERCONTROLDETAILS_UNSIGNED& channel : values) {
        channel.dwValue = value;
    }
    MIXERCONTROLDETAILS details = VolumeDetails(values);
    mixerSetControlDetails(m_mixer, &details, MIXER_SETCONTROLDETAILSF_VALUE);
}

VolumeChangeCallback CVolumeInXXX::SetChangeCallback(VolumeChangeCallback callback,
                                                     std::uintptr_t user) {
    std::lock_guard guard(g_activeVolumeLock);
    m_callback = callback;
    m_callbackUser = user;
    return callback;
}

void CVolumeInXXX::OnMixerChange(HMIXER /*mixer*/, std::uint32_t message,
                                 std::uintptr_t /*instance*/, std::uint32_t controlId) {
    if (message != MM_MIXM_CONTROL_CHANGE) {
        return;
    }
    VolumeChangeCallback callback = nullptr;
    std::uintptr_t user = 0;
    std::int32_t value = -1;
    {
        std::lock_guard guard(g_activeVolumeLock);
        CVolumeInXXX* active = g_activeVolume.load(std::memory_order_relaxed);
        if (active == nullptr || controlId != active->m_volumeControlId) {
            return;
        }
        value = active->GetVolume();
        callback = active->m_callback;
        user = active->m_callbackUser;
    }
    // Called without the lock, so the callback may create or destroy volume objects.
    if (value != -1 && callback != nullptr) {
        callback(value, user);
    }
}
