#pragma once
// One entry of the recording-source table: a listed source line.

#include <cstdint>

struct RecordSourceEntry {
    static constexpr int kNameBytes = 100;

    char name[kNameBytes] = {};      // the line's short name, NUL-terminated
    std::uint32_t componentType = 0; // MIXERLINE_COMPONENTTYPE_SRC_...
    std::uint32_t channels = 0;
    std::uint32_t listIndex = 0;   // item position in the select control
    std::uint32_t sourceIndex = 0; // source index within the destination line
    std::uint32_t lineId = 0;      // the line's identifier, the same while the program runs
};
