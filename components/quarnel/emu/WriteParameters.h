#pragma once
// The write parameters mode page (05h) as the drive keeps it.

#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/mmc/SenseCodes.h"

#include <array>
#include <cstdint>
#include <span>

namespace quarnel::emu {

inline constexpr std::uint8_t kWriteTypePacket = 0;
inline constexpr std::uint8_t kWriteTypeTao = 1;
inline constexpr std::uint8_t kWriteTypeSao = 2;
inline constexpr std::uint8_t kWriteTypeRaw = 3;
inline constexpr std::uint8_t kWriteTypeLayerJump = 4;
inline constexpr std::uint8_t kMultiSessionOpen = 3; // bits 7-6 = 11b: next session allowed
inline constexpr std::uint8_t kDataBlockRaw = 0;     // 2,352 bytes of audio
inline constexpr std::uint8_t kDataBlockMode1 = 8;   // 2,048 bytes
inline constexpr std::size_t kWriteParametersPageBytes = 0x32 + 2;

struct WriteParameters {
    // A drive starts in track-at-once mode for data, as most writers do; an
    // audio take must switch the track mode and the block type.
    std::uint8_t writeType = kWriteTypeTao;
    bool underrunProtection = false; // BUFE
    bool testWrite = false;
    std::uint8_t multiSession = 0;
    bool copy = false;
    std::uint8_t trackMode = 4;
    std::uint8_t dataBlockType = kDataBlockMode1;
    std::uint8_t sessionFormat = 0;
    std::uint16_t audioPauseBlocks = 150;

    [[nodiscard]] bool Audio() const {
        return (trackMode & 0x04) == 0 && dataBlockType == kDataBlockRaw;
    }
};

[[nodiscard]] std::array<std::uint8_t, kWriteParametersPageBytes>
BuildWriteParametersPage(const WriteParameters& parameters);
// The bits a host may change (MODE SENSE page control 01b).
[[nodiscard]] std::array<std::uint8_t, kWriteParametersPageBytes> WriteParametersChangeable();
// Takes a page sent with MODE SELECT. BUFE and test writing are refused when
// the drive does not offer them.
[[nodiscard]] SenseCode ParseWriteParametersPage(std::span<const std::uint8_t> page,
                                                 const DriveCapabilities& capabilities,
                                                 WriteParameters& parameters);

} // namespace quarnel::emu
