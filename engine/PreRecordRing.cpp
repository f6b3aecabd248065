#include "engine/PreRecordRing.h"

#include <algorithm>

void PreRecordRing::Clear() {
    m_end = 0;
    m_heldBytes = 0;
    m_totalBytes = 0;
}

std::uint32_t PreRecordRing::BytesSince(std::uint64_t position) const {
    return position >= m_totalBytes ? 0
                                    : static_cast<std::uint32_t>(std::min<std::uint64_t>(
                                          m_totalBytes - position, m_heldBytes));
}

void PreRecordRing::Write(std::span<const std::uint8_t> bytes) {
    m_totalBytes += bytes.size();
    if (bytes.size() > kCapacityBytes) {
        bytes = bytes.last(kCapacityBytes);
    }
    const auto length = static_cast<std::uint32_t>(bytes.size());
    const std::uint32_t first = std::min(length, kCapacityBytes - m_end);
    std::copy_n(bytes.begin(), first, m_bytes.begin() + m_end);
    std::copy_n(bytes.begin() + first, length - first, m_bytes.begin());
    m_end = (m_end + length) % kCapacityBytes;
    m_heldBytes = std::min(kCapacityBytes, m_heldBytes + length);
}
