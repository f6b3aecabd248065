#include "platform/mixer/MixerSession.h"

#include "platform/mixer/MixerText.h"
#include "platform/mixer/MuxSelection.h"

#include <algorithm>

namespace platform::mixer {

namespace {

constexpr std::uint32_t kDestinationLineId = 0xFFFF0000u;
constexpr std::uint32_t kFirstSourceLineId = 0x00001000u;
constexpr std::uint32_t kSelectControlId = 0x00000001u;
constexpr std::uint32_t kFirstVolumeControlId = 0x00002000u;
constexpr std::uint32_t kDestinationChannels = 2;

std::uint32_t sourceLineId(std::size_t index) {
    return kFirstSourceLineId + static_cast<std::uint32_t>(index);
}

std::uint32_t volumeControlId(std::size_t index) {
    return kFirstVolumeControlId + static_cast<std::uint32_t>(index);
}

template <typename Item> Item* detailItems(const MIXERCONTROLDETAILS& details) {
    return static_cast<Item*>(details.paDetails);
}

} // namespace

MixerSession::MixerSession(std::unique_ptr<MixerBackend> backend, MixerLayout layout)
    : m_layout(std::move(layout)), m_backend(std::move(backend)) {}

MixerSession::~MixerSession() {
    // The backend goes first: after that no listener call can reach the notifier.
    m_backend.reset();
    m_notifier.reset();
}

void MixerSession::NotifyTo(HMIXER mixer, MixerCallback callback, std::uintptr_t instance) {
    m_notifier = std::make_unique<MixerNotifier>(mixer, callback, instance);
    std::lock_guard guard(m_backendLock);
    m_backend->WatchChanges([this](MixerChange change, int line) { OnChange(change, line); });
}

bool MixerSession::IsNotifierThread() const {
    return m_notifier && m_notifier->IsNotifierThread();
}

void MixerSession::OnChange(MixerChange change, int line) {
    switch (change) {
    case MixerChange::Selection:
        m_notifier->Post(MM_MIXM_CONTROL_CHANGE, kSelectControlId);
        return;
    case MixerChange::Lines:
        m_notifier->Post(MM_MIXM_LINE_CHANGE, kDestinationLineId);
        return;
    case MixerChange::Volume:
        for (std::size_t i = 0; i < m_layout.lines.size(); ++i) {
            const bool concerned = line < 0 || static_cast<std::size_t>(line) == i;
            if (concerned && m_layout.lines[i].hasVolume) {
                m_notifier->Post(MM_MIXM_CONTROL_CHANGE, volumeControlId(i));
            }
        }
        return;
    }
}

void MixerSession::FillDestination(MIXERLINE& line) const {
    line.dwDestination = 0;
    line.dwSource = 0;
    line.dwLineID = kDestinationLineId;
    line.fdwLine = MIXERLINE_LINEF_ACTIVE;
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    line.cChannels = kDestinationChannels;
    line.cConnections = static_cast<std::uint32_t>(m_layout.lines.size());
    line.cControls = 1;
    CopyText(line.szShortName, sizeof line.szShortName, "Recording");
    CopyText(line.szName, sizeof line.szName, "Recording Control");
}

void MixerSession::FillSource(std::size_t index, MIXERLINE& line) const {
    const MixerSourceLine& source = m_layout.lines[index];
    line.dwDestination = 0;
    line.dwSource = static_cast<std::uint32_t>(index);
    line.dwLineID = sourceLineId(index);
    line.fdwLine = MIXERLINE_LINEF_SOURCE | MIXERLINE_LINEF_ACTIVE;
    line.dwComponentType = source.componentType;
    line.cChannels = source.channels;
    line.cConnections = 0;
    line.cControls = source.hasVolume ? 1 : 0;
    CopyText(line.szShortName, sizeof line.szShortName, source.shortName);
    CopyText(line.szName, sizeof line.szName, source.name);
}

void MixerSession::FillSelectControl(MIXERCONTROL& control) const {
    const bool mux = m_layout.selectKind == MixerSelectKind::Mux;
    control = MIXERCONTROL{};
    control.dwControlID = kSelectControlId;
    control.dwControlType = mux ? MIXERCONTROL_CONTROLTYPE_MUX : MIXERCONTROL_CONTROLTYPE_MIXER;
    control.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
    control.cMultipleItems = static_cast<std::uint32_t>(m_layout.lines.size());
    CopyText(control.szShortName, sizeof control.szShortName, mux ? "Mux" : "Mixer");
    CopyText(control.szName, sizeof control.szName, "Recording Source");
    control.Bounds.dwMinimum = 0;
    control.Bounds.dwMaximum = 1;
    control.Metrics.cSteps = 0;
}

void MixerSession::FillVolumeControl(std::size_t index, MIXERCONTROL& control) const {
    const MixerSourceLine& source = m_layout.lines[index];
    control = MIXERCONTROL{};
    control.dwControlID = volumeControlId(index);
    control.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    control.fdwControl = 0;
    control.cMultipleItems = 0;
    CopyText(control.szShortName, sizeof control.szShortName, "Volume");
    CopyText(control.szName, sizeof control.szName, source.name + " Volume");
    control.Bounds.dwMinimum = source.volumeMin;
    control.Bounds.dwMaximum = source.volumeMax;
    control.Metrics.cSteps = source.volumeSteps;
}

bool MixerSession::FindVolumeLine(std::uint32_t controlId, std::size_t& index) const {
    if (controlId < kFirstVolumeControlId) {
        return false;
    }
    index = controlId - kFirstVolumeControlId;
    return index < m_layout.lines.size() && m_layout.lines[index].hasVolume;
}

MMRESULT MixerSession::GetLineInfo(MIXERLINE* line, std::uint32_t infoFlags) const {
    if (line == nullptr || line->cbStruct < sizeof(MIXERLINE)) {
        return MMSYSERR_INVALPARAM;
    }
    const std::size_t count = m_layout.lines.size();
    switch (infoFlags) {
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line->dwDestination != 0) {
            return MIXERR_INVALLINE;
        }
        FillDestination(*line);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_SOURCE:
        if (line->dwDestination != 0 || line->dwSource >= count) {
            return MIXERR_INVALLINE;
        }
        FillSource(line->dwSource, *line);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_LINEID:
        if (line->dwLineID == kDestinationLineId) {
            FillDestination(*line);
            return MMSYSERR_NOERROR;
        }
        if (line->dwLineID < kFirstSourceLineId || line->dwLineID - kFirstSourceLineId >= count) {
            return MIXERR_INVALLINE;
        }
        FillSource(line->dwLineID - kFirstSourceLineId, *line);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        if (line->dwComponentType == MIXERLINE_COMPONENTTYPE_DST_WAVEIN) {
            FillDestination(*line);
            return MMSYSERR_NOERROR;
        }
        for (std::size_t i = 0; i < count; ++i) {
            if (m_layout.lines[i].componentType == line->dwComponentType) {
                FillSource(i, *line);
                return MMSYSERR_NOERROR;
            }
        }
        return MIXERR_INVALLINE;
    default:
        return MMSYSERR_INVALFLAG;
    }
}

MMRESULT MixerSession::GetLineControls(MIXERLINECONTROLS* controls,
                                       std::uint32_t controlsFlags) const {
    if (controls == nullptr || controls->cbStruct < sizeof(MIXERLINECONTROLS) ||
        controls->cbmxctrl != sizeof(MIXERCONTROL) || controls->pamxctrl == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    const std::size_t count = m_layout.lines.size();
    const std::uint32_t lineId = controls->dwLineID;
    const bool isDestination = lineId == kDestinationLineId;
    const bool isSource = lineId >= kFirstSourceLineId && lineId - kFirstSourceLineId < count;
    const std::size_t source = isSource ? lineId - kFirstSourceLineId : 0;
    switch (controlsFlags) {
    case MIXER_GETLINECONTROLSF_ONEBYTYPE: {
        if (!isDestination && !isSource) {
            return MIXERR_INVALLINE;
        }
        const std::uint32_t selectType = m_layout.selectKind == MixerSelectKind::Mux
                                             ? MIXERCONTROL_CONTROLTYPE_MUX
                                             : MIXERCONTROL_CONTROLTYPE_MIXER;
        if (isDestination && controls->dwControlType == selectType) {
            FillSelectControl(*controls->pamxctrl);
            controls->dwControlID = kSelectControlId;
            return MMSYSERR_NOERROR;
        }
        if (isSource && controls->dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME &&
            m_layout.lines[source].hasVolume) {
            FillVolumeControl(source, *controls->pamxctrl);
            controls->dwControlID = volumeControlId(source);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    }
    case MIXER_GETLINECONTROLSF_ONEBYID: {
        std::size_t index = 0;
        if (controls->dwControlID == kSelectControlId) {
            FillSelectControl(*controls->pamxctrl);
            controls->dwLineID = kDestinationLineId;
            return MMSYSERR_NOERROR;
        }
        if (FindVolumeLine(controls->dwControlID, index)) {
            FillVolumeControl(index, *controls->pamxctrl);
            controls->dwLineID = sourceLineId(index);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    }
    case MIXER_GETLINECONTROLSF_ALL:
        if (isDestination) {
            if (controls->cControls != 1) {
                return MMSYSERR_INVALPARAM;
            }
            FillSelectControl(*controls->pamxctrl);
            return MMSYSERR_NOERROR;
        }
        if (!isSource) {
            return MIXERR_INVALLINE;
        }
        if (!m_layout.lines[source].hasVolume || controls->cControls != 1) {
            return MMSYSERR_INVALPARAM;
        }
        FillVolumeControl(source, *controls->pamxctrl);
        return MMSYSERR_NOERROR;
    default:
        return MMSYSERR_INVALFLAG;
    }
}

bool MixerSession::CheckSelectDetails(const MIXERCONTROLDETAILS& details,
                                      std::uint32_t itemBytes) const {
    return details.cbDetails == itemBytes && details.cChannels == 1 &&
           details.cMultipleItems == m_layout.lines.size();
}

MMRESULT MixerSession::GetControlDetails(MIXERCONTROLDETAILS* details, std::uint32_t detailsFlags) {
    if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) ||
        details->paDetails == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if (detailsFlags != MIXER_GETCONTROLDETAILSF_VALUE &&
        detailsFlags != MIXER_GETCONTROLDETAILSF_LISTTEXT) {
        return MMSYSERR_INVALFLAG;
    }
    std::size_t index = 0;
    if (details->dwControlID == kSelectControlId) {
        if (detailsFlags == MIXER_GETCONTROLDETAILSF_VALUE) {
            return GetSelection(*details);
        }
        if (!CheckSelectDetails(*details, sizeof(MIXERCONTROLDETAILS_LISTTEXT))) {
            return MMSYSERR_INVALPARAM;
        }
        auto* items = detailItems<MIXERCONTROLDETAILS_LISTTEXT>(*details);
        for (std::size_t i = 0; i < m_layout.lines.size(); ++i) {
            items[i].dwParam1 = sourceLineId(i);
            items[i].dwParam2 = m_layout.lines[i].componentType;
            CopyText(items[i].szName, sizeof items[i].szName, m_layout.lines[i].name);
        }
        return MMSYSERR_NOERROR;
    }
    if (!FindVolumeLine(details->dwControlID, index)) {
        return MIXERR_INVALCONTROL;
    }
    if (detailsFlags != MIXER_GETCONTROLDETAILSF_VALUE) {
        return MMSYSERR_INVALPARAM;
    }
    return GetVolume(index, *details);
}

MMRESULT MixerSession::GetSelection(MIXERCONTROLDETAILS& details) {
    if (!CheckSelectDetails(details, sizeof(MIXERCONTROLDETAILS_BOOLEAN))) {
        return MMSYSERR_INVALPARAM;
    }
    std::vector<bool> selected;
    {
        std::lock_guard guard(m_backendLock);
        if (!m_backend->ReadSelection(selected) || selected.size() != m_layout.lines.size()) {
            return MMSYSERR_ERROR;
        }
    }
    auto* items = detailItems<MIXERCONTROLDETAILS_BOOLEAN>(details);
    for (std::size_t i = 0; i < selected.size(); ++i) {
        items[i].fValue = selected[i] ? 1 : 0;
    }
    return MMSYSERR_NOERROR;
}

MMRESULT MixerSession::GetVolume(std::size_t index, MIXERCONTROLDETAILS& details) {
    const std::uint32_t channels = m_layout.lines[index].channels;
    if (details.cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) || details.cMultipleItems != 0 ||
        (details.cChannels != 1 && details.cChannels != channels)) {
        return MMSYSERR_INVALPARAM;
    }
    std::vector<std::uint32_t> values;
    {
        std::lock_guard guard(m_backendLock);
        if (!m_backend->ReadVolume(index, values) || values.size() != channels) {
            return MMSYSERR_ERROR;
        }
    }
    auto* items = detailItems<MIXERCONTROLDETAILS_UNSIGNED>(details);
    for (std::uint32_t c = 0; c < details.cChannels; ++c) {
        items[c].dwValue = values[c];
    }
    return MMSYSERR_NOERROR;
}

MMRESULT MixerSession::SetControlDetails(const MIXERCONTROLDETAILS* details,
                                         std::uint32_t detailsFlags) {
    if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) ||
        details->paDetails == nullptr) {
        return MMSYSERR_INVALPARAM;
    }
    if (detailsFlags != MIXER_SETCONTROLDETAILSF_VALUE) {
        return MMSYSERR_INVALFLAG;
    }
    std::size_t index = 0;
    if (details->dwControlID == kSelectControlId) {
        return SetSelection(*details);
    }
    if (!FindVolumeLine(details->dwControlID, index)) {
        return MIXERR_INVALCONTROL;
    }
    return SetVolume(index, *details);
}

MMRESULT MixerSession::SetSelection(const MIXERCONTROLDETAILS& details) {
    if (!CheckSelectDetails(details, sizeof(MIXERCONTROLDETAILS_BOOLEAN))) {
        return MMSYSERR_INVALPARAM;
    }
    const auto* items = detailItems<MIXERCONTROLDETAILS_BOOLEAN>(details);
    std::vector<bool> requested(m_layout.lines.size());
    for (std::size_t i = 0; i < requested.size(); ++i) {
        requested[i] = items[i].fValue != 0;
    }
    std::lock_guard guard(m_backendLock);
    if (m_layout.selectKind == MixerSelectKind::Mux) {
        std::vector<bool> current;
        if (!m_backend->ReadSelection(current)) {
            return MMSYSERR_ERROR;
        }
        const std::optional<std::size_t> chosen = ResolveMuxWrite(current, requested);
        if (!chosen) {
            return MIXERR_INVALVALUE;
        }
        requested.assign(requested.size(), false);
        requested[*chosen] = true;
    }
    return m_backend->WriteSelection(requested) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

MMRESULT MixerSession::SetVolume(std::size_t index, const MIXERCONTROLDETAILS& details) {
    const MixerSourceLine& source = m_layout.lines[index];
    if (details.cbDetails != sizeof(MIXERCONTROLDETAILS_UNSIGNED) || details.cMultipleItems != 0 ||
        (details.cChannels != 1 && details.cChannels != source.channels)) {
        return MMSYSERR_INVALPARAM;
    }
    const auto* items = detailItems<MIXERCONTROLDETAILS_UNSIGNED>(details);
    std::vector<std::uint32_t> values(source.channels, items[0].dwValue);
    if (details.cChannels == source.channels) {
        for (std::uint32_t c = 0; c < source.channels; ++c) {
            values[c] = items[c].dwValue;
        }
    }
    const bool inRange = std::all_of(values.begin(), values.end(), [&source](std::uint32_t v) {
        return v >= source.volumeMin && v <= source.volumeMax;
    });
    if (!inRange) {
        return MIXERR_INVALVALUE;
    }
    std::lock_guard guard(m_backendLock);
    return m_backend->WriteVolume(index, values) ? MMSYSERR_NOERROR : MMSYSERR_ERROR;
}

} // namespace platform::mixer
