#pragma once
// The checksums a saved track is compared by: the CRC32 of its audio bytes
// (the polynomial of zip and PNG) and the AccurateRip checksums v1 and v2 as
// the published algorithm defines them, so a save can be checked against
// other rips of the same disc.
//
// AccurateRip counts the track's 32-bit stereo samples from 1 and sums sample
// times position (v1), or the low and high halves of that 64-bit product
// (v2), modulo 2^32. On the disc's first track the samples before position
// 2,940 (five sectors less one sample) are left out, on its last track those
// after the track's length less 2,940. Whether the track is first or last is
// only asked at the end, so the sums are kept apart for the samples such a
// rule leaves out.

#include <array>
#include <cstddef>
#include <cstdint>

namespace vesplin {

struct AccurateRipChecksums {
    std::uint32_t v1 = 0;
    std::uint32_t v2 = 0;
};

class TrackChecksums {
public:
    // A track of `totalSamples` stereo samples (its sectors times 588).
    explicit TrackChecksums(std::uint64_t totalSamples = 0);

    // The next audio bytes of the track, in order (whole samples).
    void Add(const std::uint8_t* pcm, std::size_t bytes);

    [[nodiscard]] std::uint32_t Crc32() const { return ~m_crc; }
    [[nodiscard]] AccurateRipChecksums AccurateRip(bool firstTrack, bool lastTrack) const;

private:
    // Which of the sums a position adds to: bit 0 set inside the first
    // track's skipped start, bit 1 inside the last track's skipped end.
    [[nodiscard]] std::size_t Part(std::uint64_t position) const;

    std::uint64_t m_totalSamples;
    std::uint64_t m_position = 1; // of the next sample, counted from 1
    std::uint32_t m_crc = 0xFFFFFFFFu;
    std::array<AccurateRipChecksums, 4> m_sums{};
};

} // namespace vesplin
