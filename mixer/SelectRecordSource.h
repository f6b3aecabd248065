#pragma once
// Making one item of the recording mixer's select control the recorded
// source.

#include "mixer/RecordMixer.h"

#include <cstdint>

// The state of one selection: the open mixer, its select control and the
// item found.
class RecordSourceSelection {
public:
    static constexpr std::uint32_t kNoItem = 0xFFFFFFFFu;

    bool OpenRecordMixer();
    // The item at `listIndex` when its line can be read; else the item named
    // exactly "Line   In".
    bool FindSourceItem(std::uint32_t listIndex);
    // Sets the found item to `value` and writes all items back; with a MIXER
    // control a non-zero value first clears every other item.
    bool SetSourceItem(std::int32_t value);
    void CloseRecordMixer();

private:
    RecordMixer m_mixer;
    std::uint32_t m_foundItem = kNoItem;
};

// Open, find, set to 1, close: true only if every step succeeded. The mixer is
// closed on every path.
bool SelectRecordSource(std::uint32_t listIndex);
