#pragma once
// READ TRACK INFORMATION: where a track starts, how long it is, and for the
// invisible (next) track whether and where it may be written.

#include "components/quarnel/mmc/ParseResult.h"

#include <array>
#include <cstdint>
#include <span>

namespace quarnel {

inline constexpr std::uint16_t kTrackInformationLength = 48;
inline constexpr std::size_t kTrackInformationMinLength = 28; // the oldest block, through the size

struct TrackInformation {
    std::uint16_t track = 0;
    std::uint16_t session = 0;
    bool damage = false;
    bool copy = false;
    std::uint8_t trackMode = 0;
    bool reserved = false; // RT
    bool blank = false;
    bool packet = false;
    bool fixedPacket = false;
    std::uint8_t dataMode = 0;
    bool lastRecordedValid = false;
    bool nextWritableValid = false;
    std::uint32_t start = 0;
    std::uint32_t nextWritable = 0;
    std::uint32_t freeBlocks = 0;
    std::uint32_t fixedPacketSize = 0;
    std::uint32_t size = 0;
    std::uint32_t lastRecorded = 0; // 0 when the reply is too short to hold it
    // The reply's bytes, zero beyond what was delivered.
    std::array<std::uint8_t, kTrackInformationLength> raw{};
};

[[nodiscard]] Parsed<TrackInformation> ParseTrackInformation(std::span<const std::uint8_t> reply);

} // namespace quarnel
