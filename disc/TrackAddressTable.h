#pragma once
// The first and last sector of tracks 1 to 99, indexed by track number (index
// 0 is unused); all 0 until a table of contents has been read.

#include <array>
#include <cstdint>

namespace disc {

struct TrackAddressTable {
    static constexpr int kMaxTrack = 99;

    std::array<std::uint32_t, kMaxTrack + 1> start{};
    std::array<std::uint32_t, kMaxTrack + 1> end{};

    void Clear() {
        start.fill(0);
        end.fill(0);
    }
};

} // namespace disc
