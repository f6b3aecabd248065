#pragma once
// The recording sources of the main window: the table of listed source lines,
// the selector that shows them and the slider bound to the chosen source's
// volume. Everything runs on the main window's thread.

#include "mixer/IRecordSourceSelector.h"
#include "mixer/IVolumeSlider.h"
#include "mixer/RecordSourceEntry.h"

#include <array>
#include <cstdint>

class RecordSources {
public:
    static constexpr int kMaxSources = 10;
    // m_currentSourceLine before a source was chosen: a source index no line
    // has, so the volume object for it is inert.
    static constexpr std::uint32_t kNoSourceLine = 0xFFFFFFFFu;

    RecordSources(IRecordSourceSelector& selector, IVolumeSlider& slider);

    // Fills the table and the selector (at start-up) and selects the
    // microphone's entry, else the first. Without a wave-input device:
    // message 1 and an empty selector. More qualifying lines than the table
    // holds: the first kMaxSources in the control's order are kept.
    void EnumRecordSources();
    // The mixer's source lines came or went (the sound server restarted
    // among them): the table and the selector are read again. The entry shown
    // stays selected wherever its line now stands; when its line is gone, the
    // microphone's entry (else the first) is selected and applied; the line
    // last applied by the user is selected and applied again once it is back.
    void OnSourcesChanged();
    // The selector's selection changed (and once at start-up): makes the
    // selected entry the recorded source and binds the slider to it. Does
    // nothing with fewer than two entries, nor when the entry's line is gone.
    // Entries are found by their line's identifier, never by a position that
    // another line may have taken.
    void ApplyRecordSource();
    // The slider's range and position from the current source's volume; the
    // slider acts on that source from now on.
    void BindVolumeSlider();
    // The user let go of the slider (or moved it with a click or a key): its
    // position becomes the volume. Nothing is written before the slider was
    // bound, nor when it stands where it was bound or last written.
    void OnVolumeReleased();

    int SourceCount() const { return m_sourceCount; }
    int DefaultSource() const { return m_defaultSource; }
    const RecordSourceEntry& Source(int index) const { return m_sources[index]; }
    std::uint32_t CurrentSourceLine() const { return m_currentSourceLine; }

private:
    static constexpr std::uint32_t kNoLineId = 0;

    static bool IsListed(std::uint32_t componentType, const char* shortName);
    // The table from the mixer as it is now; empty when it cannot be read.
    void ReadTable();
    void FillSelector();
    // The entry of the line `lineId`; -1 when none has it.
    [[nodiscard]] int EntryOf(std::uint32_t lineId) const;
    // Selects the entry and makes it the recorded source; false when its line is gone.
    bool Apply(int index);
    [[nodiscard]] const RecordSourceEntry& Entry(int index) const {
        return m_sources[static_cast<std::size_t>(index)];
    }

    IRecordSourceSelector& m_selector;
    IVolumeSlider& m_slider;
    std::int32_t m_sourceCount = 0;
    std::int32_t m_defaultSource = 0;
    std::array<RecordSourceEntry, kMaxSources> m_sources{};
    std::uint32_t m_currentSourceLine = kNoSourceLine;
    std::uint32_t m_currentLineId = kNoLineId; // the line applied last (or shown first)
    std::uint32_t m_chosenLineId = kNoLineId;  // the line the user applied last
    bool m_sliderBound = false;
    std::int32_t m_boundPosition = -1; // the position bound or last written
};
