#include "components/quarnel/emu/WriteParameters.h"

#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kPageCode = 0x05;
// Up to the audio pause length: what every host sends.
constexpr std::size_t kMinimumPageBytes = 16;

bool ValidDataBlockType(std::uint8_t type) {
    return type <= 3 || (type >= 8 && type <= 13);
}

// What this drive writes on a CD: packets and tracks at once (session at once
// and raw need a cue sheet it does not take), in 2,352-byte audio or 2,048-byte
// mode 1 blocks.
bool CdWritable(std::uint8_t writeType, std::uint8_t dataBlockType) {
    return (writeType == kWriteTypePacket || writeType == kWriteTypeTao) &&
           (dataBlockType == kDataBlockRaw || dataBlockType == kDataBlockMode1);
}

} // namespace

std::array<std::uint8_t, kWriteParametersPageBytes>
BuildWriteParametersPage(const WriteParameters& parameters) {
    std::array<std::uint8_t, kWriteParametersPageBytes> page{};
    page[0] = kPageCode;
    page[1] = kWriteParametersPageBytes - 2;
    page[2] = static_cast<std::uint8_t>((parameters.underrunProtection ? 0x40 : 0) |
                                        (parameters.testWrite ? 0x10 : 0) | parameters.writeType);
    page[3] = static_cast<std::uint8_t>((parameters.multiSession << 6) |
                                        (parameters.copy ? 0x10 : 0) | parameters.trackMode);
    page[4] = parameters.dataBlockType;
    page[8] = parameters.sessionFormat;
    PutBe16(page, 14, parameters.audioPauseBlocks);
    return page;
}

std::array<std::uint8_t, kWriteParametersPageBytes> WriteParametersChangeable() {
    std::array<std::uint8_t, kWriteParametersPageBytes> page{};
    page[0] = kPageCode;
    page[1] = kWriteParametersPageBytes - 2;
    page[2] = 0x5F;
    page[3] = 0xDF;
    page[4] = 0x0F;
    page[8] = 0xFF;
    page[14] = 0xFF;
    page[15] = 0xFF;
    return page;
}

SenseCode ParseWriteParametersPage(std::span<const std::uint8_t> page,
                                   const DriveCapabilities& capabilities, bool cdMedium,
                                   WriteParameters& parameters) {
    if (page.size() < kMinimumPageBytes || (page[0] & 0x3F) != kPageCode ||
        std::size_t{page[1]} + 2 < kMinimumPageBytes) {
        return sense::kInvalidParameter;
    }
    WriteParameters next = parameters;
    next.underrunProtection = (page[2] & 0x40) != 0;
    next.testWrite = (page[2] & 0x10) != 0;
    next.writeType = page[2] & 0x0F;
    next.multiSession = static_cast<std::uint8_t>(page[3] >> 6);
    next.copy = (page[3] & 0x10) != 0;
    next.trackMode = page[3] & 0x0F;
    next.dataBlockType = page[4] & 0x0F;
    next.sessionFormat = page[8];
    next.audioPauseBlocks = GetBe16(page, 14);
    const bool writable =
        cdMedium ? CdWritable(next.writeType, next.dataBlockType)
                 : next.writeType <= kWriteTypeLayerJump && ValidDataBlockType(next.dataBlockType);
    if (!writable || (next.underrunProtection && !capabilities.underrunProtection) ||
        (next.testWrite && !capabilities.testWrite)) {
        return sense::kInvalidParameter;
    }
    parameters = next;
    return sense::kNone;
}

} // namespace quarnel::emu
