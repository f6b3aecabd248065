#pragma once
// READ TOC/PMA/ATIP replies of format 0 (track table) and format 2 (full TOC:
// the Q sub-channel entries of every session's lead-in). Each parser checks
// that the reply has the shape of the format asked for, since some drives
// answer every format with a format-0 table.

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quarnel {

inline constexpr std::size_t kTocHeaderLength = 4;
inline constexpr std::size_t kTocEntryLength = 8;
inline constexpr std::size_t kFullTocDescriptorLength = 11;
inline constexpr std::uint8_t kLeadOutTrack = 0xAA;

namespace point {
inline constexpr std::uint8_t kFirstTrack = 0xA0;
inline constexpr std::uint8_t kLastTrack = 0xA1;
inline constexpr std::uint8_t kLeadOut = 0xA2;
inline constexpr std::uint8_t kNextProgramArea = 0xB0;
} // namespace point

struct TocEntry {
    std::uint8_t adrControl = 0;
    std::uint8_t track = 0;
    std::uint32_t address = 0; // LBA, or 00 MM SS FF when asked for with MSF
};

struct TrackToc {
    std::uint8_t firstTrack = 0;
    std::uint8_t lastTrack = 0;
    std::vector<TocEntry> entries;
};

// One full-TOC entry without its session byte.
struct FullTocEntry {
    std::uint8_t adrControl = 0; // ADR in the high nibble, CONTROL low: bit 2 = data track
    std::uint8_t tno = 0;
    std::uint8_t point = 0;
    std::uint8_t min = 0;
    std::uint8_t sec = 0;
    std::uint8_t frame = 0;
    std::uint8_t zero = 0;
    std::uint8_t pmin = 0; // where the track starts, for POINT 01h-63h
    std::uint8_t psec = 0;
    std::uint8_t pframe = 0;

    [[nodiscard]] std::uint8_t Adr() const { return adrControl >> 4; }
    [[nodiscard]] std::uint8_t Control() const { return adrControl & 0x0F; }
};
static_assert(sizeof(FullTocEntry) == 10);

struct FullTocDescriptor {
    std::uint8_t session = 0;
    FullTocEntry entry;
};

struct FullToc {
    std::uint8_t firstSession = 0;
    std::uint8_t lastSession = 0;
    std::vector<FullTocDescriptor> descriptors;
};

[[nodiscard]] Parsed<TrackToc> ParseTrackToc(std::span<const std::uint8_t> reply);
[[nodiscard]] Parsed<FullToc> ParseFullToc(std::span<const std::uint8_t> reply);
// The descriptors alone (the reply from byte 4 on): whole descriptors only; a
// descriptor of session 0 cannot be part of a full TOC and is WrongFormat.
[[nodiscard]] Parsed<std::vector<FullTocDescriptor>>
ParseFullTocDescriptors(std::span<const std::uint8_t> descriptors);

} // namespace quarnel
