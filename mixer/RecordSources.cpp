#include "mixer/RecordSources.h"

#include "lang/LangText.h"
#include "mixer/CVolumeInXXX.h"
#include "mixer/RecordMixer.h"
#include "mixer/SelectRecordSource.h"
#include "mixer/SourceLinePosition.h"
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
    ReadTable();
    FillSelector();
    if (m_selector.Count() > 0) {
        const int selected = m_defaultSource < 0 ? 0 : m_defaultSource;
        m_selector.Select(selected);
        // Until a source is applied, the current line is the one shown.
        m_currentSourceLine = Entry(selected).sourceIndex;
        m_currentLineId = Entry(selected).lineId;
    }
}

void RecordSources::ReadTable() {
    m_sourceCount = 0;
    m_defaultSource = 0;
    m_sources.fill(RecordSourceEntry{});

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
        entry.lineId = line.dwLineID;
        if (line.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
            m_defaultSource = m_sourceCount; // with several microphones the last wins
        }
        ++m_sourceCount;
    }
}

void RecordSources::FillSelector() {
    m_selector.Clear();
    for (int i = 0; i < m_sourceCount; ++i) {
        m_selector.Add(Entry(i).name);
    }
}

int RecordSources::EntryOf(std::uint32_t lineId) const {
    for (int i = 0; i < m_sourceCount; ++i) {
        if (Entry(i).lineId == lineId) {
            return i;
        }
    }
    return -1;
}

void RecordSources::OnSourcesChanged() {
    const int shown = m_selector.CurrentIndex();
    const std::uint32_t shownLine =
        shown >= 0 && shown < m_sourceCount ? Entry(shown).lineId : kNoLineId;
    ReadTable();
    FillSelector();
    if (EntryOf(m_currentLineId) < 0) {
        // The slider's source is gone: it owns none until it is bound again.
        m_sliderBound = false;
        m_currentLineId = kNoLineId;
        m_currentSourceLine = kNoSourceLine;
    }
    if (m_selector.Count() == 0) {
        return;
    }
    // The user's source is back (plugged in again, or the server restarted).
    if (const int chosen = EntryOf(m_chosenLineId);
        chosen >= 0 && m_chosenLineId != m_currentLineId) {
        m_selector.Select(chosen);
        if (Apply(chosen)) {
            return;
        }
    }
    if (const int kept = EntryOf(shownLine); kept >= 0) {
        m_selector.Select(kept);
        return;
    }
    const int fallback = m_defaultSource < 0 ? 0 : m_defaultSource;
    m_selector.Select(fallback);
    Apply(fallback);
}

void RecordSources::ApplyRecordSource() {
    const int selected = m_selector.CurrentIndex();
    if (selected >= 0 && selected < m_sourceCount && Apply(selected)) {
        m_chosenLineId = Entry(selected).lineId;
    }
}

bool RecordSources::Apply(int index) {
    if (m_selector.Count() < 2) {
        return false;
    }
    const RecordSourceEntry& entry = Entry(index);
    // Where the entry's line stands now; a line that went is left alone
    // (the mixer's notification reads the list again).
    const std::optional<SourceLinePosition> where = FindSourceLine(entry.lineId);
    if (!where) {
        return false;
    }
    SelectRecordSource(where->listIndex);
    m_currentSourceLine = where->sourceIndex;
    m_currentLineId = entry.lineId;
    BindVolumeSlider();
    return true;
}

void RecordSources::BindVolumeSlider() {
    std::int32_t maximum = -1;
    std::int32_t minimum = -1;
    std::int32_t current = -1;
    {
        const std::optional<SourceLinePosition> where = FindSourceLine(m_currentLineId);
        CVolumeInXXX volume(where ? where->sourceIndex : kNoSourceLine);
        maximum = volume.GetMaxVolume();
        minimum = volume.GetMinVolume();
        current = volume.GetVolume();
    }
    m_slider.SetRange(minimum, maximum, false);
    m_slider.SetPos(current, true);
    m_sliderBound = true;
    m_boundPosition = current;
}

void RecordSources::OnVolumeReleased() {
    // A slider that was never bound shows no source's volume: it owns none.
    if (!m_sliderBound) {
        return;
    }
    const std::int32_t position = m_slider.GetPos();
    // Where the slider was let go where it was bound, the level stays as it
    // is, above the slider's top included (a boost over 100 % reads as the
    // top).
    if (position == m_boundPosition) {
        return;
    }
    const std::optional<SourceLinePosition> where = FindSourceLine(m_currentLineId);
    if (!where) {
        return;
    }
    CVolumeInXXX volume(where->sourceIndex);
    // A negative position (the range of a source without volume) is outside
    // every control's range and writes nothing.
    volume.SetVolume(static_cast<std::uint32_t>(position));
    m_boundPosition = position;
}
