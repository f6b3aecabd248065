#include "mixer/RecordMixer.h"

#include "platform/mixer/MixerApi.h"

RecordMixer::~RecordMixer() {
    Close();
}

bool RecordMixer::Open() {
    Close();
    std::uint32_t mixerId = 0;
    if (mixerGetID(WAVE_MAPPER, &mixerId, MIXER_OBJECTF_WAVEIN) != MMSYSERR_NOERROR) {
        return false;
    }
    if (mixerGetNumDevs() == 0) {
        return false;
    }
    if (mixerOpen(&m_mixer, mixerId, nullptr, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        m_mixer = nullptr;
        return false;
    }
    MIXERCAPS caps;
    if (mixerGetDevCaps(mixerId, &caps, sizeof(caps)) != MMSYSERR_NOERROR) {
        Close();
        return false;
    }
    return true;
}

void RecordMixer::Close() {
    if (m_mixer != nullptr) {
        mixerClose(m_mixer);
        m_mixer = nullptr;
    }
    m_items.clear();
}

bool RecordMixer::FindSelectControl() {
    m_items.clear();
    MIXERLINE destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfo(m_mixer, &destination, MIXER_GETLINEINFOF_COMPONENTTYPE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    MIXERCONTROL control;
    MIXERLINECONTROLS controls;
    controls.dwLineID = destination.dwLineID;
    controls.cControls = 1;
    controls.pamxctrl = &control;
    bool found = false;
    for (const std::uint32_t type :
         {MIXERCONTROL_CONTROLTYPE_MUX, MIXERCONTROL_CONTROLTYPE_MIXER}) {
        controls.dwControlType = type;
        if (mixerGetLineControls(m_mixer, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
            MMSYSERR_NOERROR) {
            found = true;
            break;
        }
    }
    if (!found || control.cMultipleItems == 0) {
        return false;
    }
    m_controlId = control.dwControlID;
    m_controlType = control.dwControlType;
    return ReadItemTexts(control.cMultipleItems);
}

bool RecordMixer::ReadItemTexts(std::uint32_t itemCount) {
    std::vector<MIXERCONTROLDETAILS_LISTTEXT> items(itemCount);
    MIXERCONTROLDETAILS details;
    details.dwControlID = m_controlId;
    details.cChannels = 1;
    details.cMultipleItems = itemCount;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXT);
    details.paDetails = items.data();
    if (mixerGetControlDetails(m_mixer, &details, MIXER_GETCONTROLDETAILSF_LISTTEXT) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    m_items = std::move(items);
    return true;
}

bool RecordMixer::ItemLine(std::uint32_t index, MIXERLINE& line) const {
    line = MIXERLINE{};
    line.dwLineID = m_items[index].dwParam1;
    return mixerGetLineInfo(m_mixer, &line, MIXER_GETLINEINFOF_LINEID) == MMSYSERR_NOERROR;
}
