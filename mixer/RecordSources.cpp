#include "mixer/RecordSources.h"

#include "lang/LangText.h"
#include "mixer/CVolumeInXXX.h"
#include "mixer/RecordMixer.h"
#include "mixer/SelectRecordSource.h"
#include "platform/wave/WaveIn.h"
#include "util/MessageBox.h"

#include <cstring>

namespace {

constexpr int kMessageNoWaveInput = 1;

} // namespace

RecordSources::RecordSources(IRecordSourceSelector& selector, IVolumeSlider& slider)
    : m_selector(selector), m_slider(slider) {}

bool RecordSources::IsListed(std::uint32_t componentType, const char* shortName) {
    switch (componentType) {
    case MIXERLINE_COMPONENTTYPE_SRC_LINE:
    case MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE:
    case MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC:
    case MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE:
        return true;
    case MIXERLINE_COMPONENTTYPE_SRC_ANALOG:
        return std::strncmp(shortName, "Aux", MIXER_SHORT_NAME_CHARS) != 0;
    default:
        return false;
    }
}

void RecordSources::EnumRecordSources() {
    if (waveInGetNumDevs() == 0) {
        util::ShowMessageBox(lang::GetLangString("Message", kMessageNoWaveInput),
                             util::MB_ICONINFORMATION);
        return;
    }
    m_sourceCount = 0;
    m_defaultSource = 0;
    m_sources.fill(RecordSourceEntry{});
    m_selector.Clear();

    // The mixer is closed as soon as the table is filled: nothing later uses
    // this handle.
    RecordMixer mixer;
    if (!mixer.Open() || !mixer.FindSelectControl()) {
        return;
    }
    for (std::uint32_t k = 0; k < mixer.ItemCount() && m_sourceCount < kMaxSources; ++k) {
        MIXERLINE line;
        if (!mixer.ItemLine(k, line) || !IsListed(line.dwComponentType, line.szShortName)) {
            continue;
        }
        RecordSourceEntry& entry = m_sources[static_cast<std::size_t>(m_sourceCount)];
        std::strncpy(entry.name, line.szShortName, MIXER_SHORT_NAME_CHARS);
        entry.name[MIXER_SHORT_NAME_CHARS] = '\0';
        entry.componentType = line.dwComponentType;
        entry.channels = line.cChannels;
        entry.listIndex = k;
        entry.sourceIndex = line.dwSource;
        if (line.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
            m_defaultSource = m_sourceCount; // with several microphones the last wins
        }
        ++m_sourceCount;
    }
    mixer.Close();

    for (int i = 0; i < m_sourceCount; ++i) {
        m_selector.Add(m_sources[static_cast<std::size_t>(i)].name);
    }
    if (m_selector.Count() > 0) {
        const int selected = m_defaultSource < 0 ? 0 : m_defaultSource;
        m_selector.Select(selected);
        // Until a source is applied, the slider acts on the one shown.
        m_currentSourceLine = m_sources[static_cast<std::size_t>(selected)].sourceIndex;
    }
}

void RecordSources::ApplyRecordSource() {
    if (m_selector.Count() < 2) {
        return;
    }
    const int selected = m_selector.CurrentIndex();
    if (selected < 0 || selected >= m_sourceCount) {
        return;
    }
    const RecordSourceEntry& entry = m_sources[static_cast<std::size_t>(selected)];
    SelectRecordSource(entry.listIndex);
    m_currentSourceLine = entry.sourceIndex;
    BindVolumeSlider();
}

void RecordSources::BindVolumeSlider() {
    std::int32_t maximum = -1;
    std::int32_t minimum = -1;
    std::int32_t current = -1;
    {
        CVolumeInXXX volume(m_currentSourceLine);
        maximum = volume.GetMaxVolume();
        minimum = volume.GetMinVolume();
        current = volume.GetVolume();
    }
    m_slider.SetRange(minimum, maximum, false);
    m_slider.SetPos(current, true);
}

void RecordSources::OnVolumeReleased() {
    const std::int32_t position = m_slider.GetPos();
    CVolumeInXXX volume(m_currentSourceLine);
    // A negative position (the range of a source without volume) is outside
    // every control's range and writes nothing.
    volume.SetVolume(static_cast<std::uint32_t>(position));
}
