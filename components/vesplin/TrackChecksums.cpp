#include "components/vesplin/TrackChecksums.h"

namespace vesplin {

namespace {

// Five sectors of 588 samples: what AccurateRip leaves out at the ends of a disc.
constexpr std::uint64_t kSkippedSamples = 5 * 588;
constexpr std::uint32_t kCrcPolynomial = 0xEDB88320u;

constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t c = n;
        for (int bit = 0; bit < 8; ++bit) {
            c = (c & 1u) != 0 ? kCrcPolynomial ^ (c >> 1) : c >> 1;
        }
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();

} // namespace

TrackChecksums::TrackChecksums(std::uint64_t totalSamples) : m_totalSamples(totalSamples) {}

std::size_t TrackChecksums::Part(std::uint64_t position) const {
    const bool head = position < kSkippedSamples;
    // As the published code does in unsigned arithmetic: a track shorter than
    // the skipped end has no end left out.
    const bool tail =
        m_totalSamples >= kSkippedSamples && position > m_totalSamples - kSkippedSamples;
    return (head ? 1u : 0u) | (tail ? 2u : 0u);
}

void TrackChecksums::Add(const std::uint8_t* pcm, std::size_t bytes) {
    for (std::size_t i = 0; i < bytes; ++i) {
        m_crc = kCrcTable[(m_crc ^ pcm[i]) & 0xFFu] ^ (m_crc >> 8);
    }
    for (std::size_t i = 0; i + 4 <= bytes; i += 4, ++m_position) {
        const std::uint32_t sample = static_cast<std::uint32_t>(pcm[i]) |
                                     static_cast<std::uint32_t>(pcm[i + 1]) << 8 |
                                     static_cast<std::uint32_t>(pcm[i + 2]) << 16 |
                                     static_cast<std::uint32_t>(pcm[i + 3]) << 24;
        const std::uint64_t product = std::uint64_t{sample} * m_position;
        AccurateRipChecksums& sums = m_sums[Part(m_position)];
        sums.v1 += static_cast<std::uint32_t>(product);
        sums.v2 += static_cast<std::uint32_t>(product) + static_cast<std::uint32_t>(product >> 32);
    }
}

AccurateRipChecksums TrackChecksums::AccurateRip(bool firstTrack, bool lastTrack) const {
    AccurateRipChecksums result;
    for (std::size_t part = 0; part < m_sums.size(); ++part) {
        if ((firstTrack && (part & 1u) != 0) || (lastTrack && (part & 2u) != 0)) {
            continue;
        }
        result.v1 += m_sums[part].v1;
        result.v2 += m_sums[part].v2;
    }
    return result;
}

} // namespace vesplin
