#pragma once
// Mode page 05h, the write parameters: read from the drive, changed in the
// fields we mean to set, and sent back whole with MODE SELECT(10).

#include "components/quarnel/mmc/ParseResult.h"

#include <cstdint>
#include <span>
#include <vector>

namespace quarnel {

inline constexpr std::uint8_t kWriteParametersPage = 0x05;
inline constexpr std::size_t kWriteParametersMinLength = 16; // through the pause length

namespace write {
inline constexpr std::uint8_t kTypePacket = 0;
inline constexpr std::uint8_t kTypeTrackAtOnce = 1;
inline constexpr std::uint8_t kTypeSessionAtOnce = 2;
inline constexpr std::uint8_t kTrackModeAudio = 0;
inline constexpr std::uint8_t kTrackModeDataIncremental = 5;
inline constexpr std::uint8_t kBlockRaw2352 = 0;
inline constexpr std::uint8_t kBlockMode1 = 8;
inline constexpr std::uint8_t kSessionCdDa = 0x00;
inline constexpr std::uint8_t kMultiSessionClose = 0x0; // no further session
inline constexpr std::uint8_t kMultiSessionOpen = 0x3;  // next session allowed
inline constexpr std::uint16_t kAudioPauseSectors = 150;
} // namespace write

struct WriteParameters {
    bool underrunProtection = false; // BUFE
    bool testWrite = false;
    std::uint8_t writeType = 0;
    std::uint8_t multiSession = 0; // 2 bits
    bool copy = false;
    std::uint8_t trackMode = 0;
    std::uint8_t dataBlockType = 0;
    std::uint8_t sessionFormat = 0;
    std::uint16_t pauseLength = 0;
    // The page as the drive gave it; fields above are written into a copy of
    // it so that bytes we do not know survive the round trip.
    std::vector<std::uint8_t> page;
};

// Takes the page itself (FindModePage).
[[nodiscard]] Parsed<WriteParameters> ParseWriteParametersPage(std::span<const std::uint8_t> page);

// The page with the fields applied, ready for ModeSelectList.
[[nodiscard]] std::vector<std::uint8_t> BuildWriteParametersPage(const WriteParameters& params);

} // namespace quarnel
