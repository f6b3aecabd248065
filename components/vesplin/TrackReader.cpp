#include "components/vesplin/TrackReader.h"

#include <algorithm>
#include <cstring>

namespace vesplin {

TrackReader::TrackReader(quarnel::CDevCmdROM& device, std::uint32_t first, std::uint32_t last)
    : m_device(device), m_first(first),
      m_totalSectors(static_cast<std::uint64_t>(last) - first + 1) {}

std::uint32_t TrackReader::ReadChunk(std::uint8_t* dest) {
    const auto count = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(kChunkSectors, m_totalSectors - m_sectorsDone));
    if (count == 0) {
        return 0;
    }
    const auto address = static_cast<unsigned long>(m_first + m_sectorsDone);
    const long chunkBytes = static_cast<long>(count) * kSectorBytes;
    if (m_device.ReadCD_All(dest, chunkBytes, static_cast<int>(count), address) != 0) {
        for (std::uint32_t i = 0; i < count; ++i) {
            std::uint8_t* sector = dest + static_cast<std::size_t>(i) * kSectorBytes;
            if (!ReadSector(sector, address + i)) {
                std::memset(sector, 0, kSectorBytes);
                ++m_unreadableSectors;
            }
        }
        if (m_slowed) {
            m_device.SetLowestReadSpeed(false);
            m_slowed = false;
        }
    }
    m_sectorsDone += count;
    return count;
}

bool TrackReader::ReadSector(std::uint8_t* sector, unsigned long address) {
    for (int attempt = 0; attempt < kReadTries; ++attempt) {
        if (m_device.ReadCD_All(sector, kSectorBytes, 1, address) == 0) {
            return true;
        }
    }
    if (!m_slowed) {
        m_device.SetLowestReadSpeed(true);
        m_slowed = true;
    }
    return m_device.ReadCD_All(sector, kSectorBytes, 1, address) == 0;
}

} // namespace vesplin
