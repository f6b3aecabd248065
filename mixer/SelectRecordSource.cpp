#include "mixer/SelectRecordSource.h"

#include "platform/mixer/MixerApi.h"

#include <cstring>
#include <vector>

namespace {

// The name the fall-back item must have, case and blanks as they stand.
constexpr const char* kLineInName = "Line   In";

} // namespace

bool RecordSourceSelection::OpenRecordMixer() {
    m_foundItem = kNoItem;
    return m_mixer.Open();
}

bool RecordSourceSelection::FindSourceItem(std::uint32_t listIndex) {
    m_foundItem = kNoItem;
    if (!m_mixer.IsOpen() || !m_mixer.FindSelectControl()) {
        return false;
    }
    MIXERLINE line;
    if (listIndex < m_mixer.ItemCount() && m_mixer.ItemLine(listIndex, line)) {
        m_foundItem = listIndex;
    }
    for (std::uint32_t k = 0; m_foundItem == kNoItem && k < m_mixer.ItemCount(); ++k) {
        if (std::strncmp(m_mixer.Item(k).szName, kLineInName, MIXER_LONG_NAME_CHARS) == 0) {
            m_foundItem = k;
        }
    }
    return m_foundItem < m_mixer.ItemCount();
}

bool RecordSourceSelection::SetSourceItem(std::int32_t value) {
    if (!m_mixer.IsOpen() || m_mixer.ItemCount() == 0 || m_foundItem >= m_mixer.ItemCount()) {
        return false;
    }
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> items(m_mixer.ItemCount());
    MIXERCONTROLDETAILS details;
    details.dwControlID = m_mixer.ControlId();
    details.cChannels = 1;
    details.cMultipleItems = m_mixer.ItemCount();
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    details.paDetails = items.data();
    if (mixerGetControlDetails(m_mixer.Handle(), &details, MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR) {
        return false;
    }
    if (value != 0 && m_mixer.ControlType() == MIXERCONTROL_CONTROLTYPE_MIXER) {
        for (MIXERCONTROLDETAILS_BOOLEAN& item : items) {
            item.fValue = 0;
        }
    }
    items[m_foundItem].fValue = value;
    return mixerSetControlDetails(m_mixer.Handle(), &details, MIXER_SETCONTROLDETAILSF_VALUE) ==
           MMSYSERR_NOERROR;
}

void RecordSourceSelection::CloseRecordMixer() {
    m_mixer.Close();
    m_foundItem = kNoItem;
}

bool SelectRecordSource(std::uint32_t listIndex) {
    RecordSourceSelection selection;
    const bool selected = selection.OpenRecordMixer() && selection.FindSourceItem(listIndex) &&
                          selection.SetSourceItem(1);
    selection.CloseRecordMixer();
    return selected;
}
