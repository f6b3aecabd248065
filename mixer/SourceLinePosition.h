#pragma once
// Where a source line stands in the recording mixer now. A line's identifier
// stays the same for as long as the program runs while its position and source
// index move when other lines come or go.

#include <cstdint>
#include <optional>

struct SourceLinePosition {
    std::uint32_t listIndex = 0;   // item position in the select control
    std::uint32_t sourceIndex = 0; // source index within the destination line
};

// The line with identifier `lineId` in the mixer as it is now; nothing when
// the line is gone or the mixer cannot be read.
std::optional<SourceLinePosition> FindSourceLine(std::uint32_t lineId);
