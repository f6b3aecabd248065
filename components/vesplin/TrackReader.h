#pragma once
// Reads the audio sectors of one track from a drive with READ CD, a chunk of
// sectors at a time. A chunk the drive refuses is read again sector by
// sector: each sector up to kReadTries times, then once more at the drive's
// lowest read speed (where a scratched disc reads best; full speed comes back
// after the chunk). A sector that still cannot be read becomes silence and is
// counted, so a damaged disc slows reading down but never stops it, and the
// caller can say how much of the track is missing.

#include "components/quarnel/device/CDevCmdROM.h"

#include <cstdint>

namespace vesplin {

class TrackReader {
public:
    // 26 sectors (61,152 bytes) stay below 64 KiB, the largest transfer some
    // USB bridges and older SCSI layers accept in one command.
    static constexpr std::uint32_t kChunkSectors = 26;
    static constexpr std::uint32_t kSectorBytes = quarnel::CDevCmdROM::kAudioSectorBytes;
    static constexpr int kReadTries = 5;

    // The sectors `first` to `last`, both included (last >= first).
    TrackReader(quarnel::CDevCmdROM& device, std::uint32_t first, std::uint32_t last);

    // Fills `dest` (room for kChunkSectors sectors) with the next sectors of
    // the track; returns their number, 0 at the end of the track.
    std::uint32_t ReadChunk(std::uint8_t* dest);

    [[nodiscard]] std::uint64_t TotalSectors() const { return m_totalSectors; }
    [[nodiscard]] std::uint64_t SectorsDone() const { return m_sectorsDone; }
    [[nodiscard]] std::uint64_t UnreadableSectors() const { return m_unreadableSectors; }

private:
    // One sector, tried again and again; false when it stays unreadable.
    bool ReadSector(std::uint8_t* sector, unsigned long address);

    quarnel::CDevCmdROM& m_device;
    std::uint32_t m_first;
    std::uint64_t m_totalSectors;
    std::uint64_t m_sectorsDone = 0;
    std::uint64_t m_unreadableSectors = 0;
    bool m_slowed = false; // the drive was set to its lowest read speed
};

} // namespace vesplin
