#pragma once
// CD-Text from READ TOC/PMA/ATIP format 5: 18-byte packs grouped into up to
// eight language blocks, each holding NUL-terminated texts per track (0 =
// the disc itself) that run across packs.

#include "components/quarnel/mmc/ParseResult.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarnel {

inline constexpr std::size_t kCdTextPackLength = 18;
inline constexpr std::size_t kCdTextTracks = 100; // 0 = disc, 1-99 = tracks

namespace cdtext {
inline constexpr std::uint8_t kTitle = 0x80;
inline constexpr std::uint8_t kPerformer = 0x81;
inline constexpr std::uint8_t kSongwriter = 0x82;
inline constexpr std::uint8_t kComposer = 0x83;
inline constexpr std::uint8_t kArranger = 0x84;
inline constexpr std::uint8_t kMessage = 0x85;
inline constexpr std::uint8_t kUpcIsrc = 0x8E;
inline constexpr std::uint8_t kSizeInfo = 0x8F;
// Character codes of the size information pack.
inline constexpr std::uint8_t kLatin1 = 0x00;
inline constexpr std::uint8_t kAscii = 0x01;
inline constexpr std::uint8_t kMsJis = 0x80;
} // namespace cdtext

// The text pack types kept: 80h-85h, then 8Eh.
inline constexpr std::size_t kCdTextKinds = 7;

struct CdTextBlock {
    std::uint8_t number = 0; // block 0-7
    std::uint8_t characterCode = cdtext::kLatin1;
    std::uint8_t languageCode = 0; // EBU code; 0 when no size information was found
    std::uint8_t firstTrack = 0;
    std::uint8_t lastTrack = 0;
    bool doubleByte = false;
    // Raw bytes as on the disc, indexed by KindIndex(type) and track.
    std::array<std::array<std::string, kCdTextTracks>, kCdTextKinds> texts{};

    [[nodiscard]] const std::string& Text(std::uint8_t type, std::size_t track) const;
    // The text converted to UTF-8 (Latin-1 and ASCII blocks; in double-byte
    // blocks the characters outside ASCII become '?').
    [[nodiscard]] std::string Utf8(std::uint8_t type, std::size_t track) const;
};

struct CdText {
    std::vector<CdTextBlock> blocks; // in block-number order
    std::uint32_t packs = 0;         // whole packs seen
    std::uint32_t badCrcPacks = 0;   // packs whose CRC did not match
    bool crcChecked = false;         // false when no pack carried a valid CRC at all

    [[nodiscard]] const CdTextBlock* Block(std::uint8_t number) const;
};

// Index of a text pack type in CdTextBlock::texts, or kCdTextKinds for other types.
[[nodiscard]] std::size_t KindIndex(std::uint8_t type);

// The packs alone (as in a .cdt file); a trailing partial pack is ignored.
// Packs with a bad CRC are skipped when at least one pack has a good one:
// a source that fills the CRC bytes with anything else gives no CRCs at all.
[[nodiscard]] Parsed<CdText> DecodeCdTextPacks(std::span<const std::uint8_t> packs);
// A READ TOC format-5 reply with its 4-byte header; a reply holding anything
// but whole CD-Text packs is WrongFormat. A reply cut short by the transfer
// gives the packs that arrived whole.
[[nodiscard]] Parsed<CdText> ParseCdTextReply(std::span<const std::uint8_t> reply);

} // namespace quarnel
