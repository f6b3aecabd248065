#pragma once
// The recording mixer: the mixer of the default wave-input device, and the
// select control (MUX, else MIXER) on its wave-input destination line whose
// items are the source lines. Opened for one operation and closed at once.

#include "platform/mixer/MixerTypes.h"

#include <cstdint>
#include <vector>

class RecordMixer {
public:
    RecordMixer() = default;
    ~RecordMixer();
    RecordMixer(const RecordMixer&) = delete;
    RecordMixer& operator=(const RecordMixer&) = delete;

    // Opens the mixer that belongs to the default wave-input device. The
    // mixer is asked for by device (MIXER_OBJECTF_WAVEIN), not through a
    // second open of the capture device, which capture may be holding.
    bool Open();
    void Close();
    bool IsOpen() const { return m_mixer != nullptr; }
    HMIXER Handle() const { return m_mixer; }

    // Finds the select control and reads its item texts. False when there is
    // no wave-input destination, no MUX or MIXER control, or no item.
    bool FindSelectControl();
    std::uint32_t ControlId() const { return m_controlId; }
    std::uint32_t ControlType() const { return m_controlType; }
    std::uint32_t ItemCount() const { return static_cast<std::uint32_t>(m_items.size()); }
    const MIXERCONTROLDETAILS_LISTTEXT& Item(std::uint32_t index) const { return m_items[index]; }

    // The source line an item names (by its line identifier).
    bool ItemLine(std::uint32_t index, MIXERLINE& line) const;

private:
    bool ReadItemTexts(std::uint32_t itemCount);

    HMIXER m_mixer = nullptr;
    std::uint32_t m_controlId = 0;
    std::uint32_t m_controlType = 0;
    std::vector<MIXERCONTROLDETAILS_LISTTEXT> m_items;
};
