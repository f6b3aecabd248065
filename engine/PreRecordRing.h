#pragma once
// The newest sound captured, kept for the pre-record of a take: a fixed ring
// of a little more than ten seconds that every capture buffer is copied into.
// Its storage is part of the object, so writing and reading never allocate;
// the capture callback is its only user, so it takes no lock.

#include "util/CdAudioSizes.h"

#include <array>
#include <cstdint>
#include <span>

class PreRecordRing {
public:
    // 47 capture buffers of 37,632 bytes: more than ten seconds.
    static constexpr std::uint32_t kCapacityBytes = 47 * kCaptureBufferBytes;

    // Forgets what it holds (capture starts afresh).
    void Clear();
    void Write(std::span<const std::uint8_t> bytes);
    // Bytes written since Clear: the capture stream's position after the
    // newest byte held.
    [[nodiscard]] std::uint64_t TotalBytes() const { return m_totalBytes; }
    // How many of the newest bytes begin at stream position `position`
    // (0 when it lies ahead, what is held when it lies further back).
    [[nodiscard]] std::uint32_t BytesSince(std::uint64_t position) const;
    // The newest `bytes` bytes (fewer when it holds less), oldest first, as
    // at most two pieces handed to `each`.
    template <typename Each> void ForNewest(std::uint32_t bytes, Each each) const {
        const auto count = static_cast<std::uint32_t>(bytes < m_heldBytes ? bytes : m_heldBytes);
        const std::uint32_t start = (m_end + kCapacityBytes - count) % kCapacityBytes;
        const std::uint32_t first = count < kCapacityBytes - start ? count : kCapacityBytes - start;
        if (first > 0) {
            each(std::span<const std::uint8_t>(m_bytes.data() + start, first));
        }
        if (count > first) {
            each(std::span<const std::uint8_t>(m_bytes.data(), count - first));
        }
    }

private:
    std::array<std::uint8_t, kCapacityBytes> m_bytes{};
    std::uint32_t m_end = 0;       // where the next byte goes
    std::uint32_t m_heldBytes = 0; // up to kCapacityBytes
    std::uint64_t m_totalBytes = 0;
};
