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

    // Fills the table and the selector (once, at start-up) and selects the
    // microphone's entry, else the first. Without a wave-input device:
    // message 1 and an empty selector. More qualifying lines than the table
    // holds: the first kMaxSources in the control's order are kept.
    void EnumRecordSources();
    // The selector's selection changed (and once at start-up): makes the
    // selected entry the recorded source and binds the slider to it. Does
    // nothing with fewer than two entries.
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
    static bool IsListed(std::uint32_t componentType, const char* shortName);

    IRecordSourceSelector& m_selector;
    IVolumeSlider& m_slider;
    std::int32_t m_sourceCount = 0;
    std::int32_t m_defaultSource = 0;
    std::array<RecordSourceEntry, kMaxSources> m_sources{};
    std::uint32_t m_currentSourceLine = kNoSourceLine;
    bool m_sliderBound = false;
    std::int32_t m_boundPosition = -1; // the position bound or last written
};
