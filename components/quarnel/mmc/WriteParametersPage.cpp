#include "components/quarnel/mmc/WriteParametersPage.h"

#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel {

namespace {

constexpr std::uint8_t kBufeBit = 0x40;
constexpr std::uint8_t kTestWriteBit = 0x10;
constexpr std::uint8_t kCopyBit = 0x10;
constexpr std::uint8_t kFixedPacketBit = 0x20;

std::uint8_t Set(std::uint8_t byte, std::uint8_t mask, bool on) {
    return static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask);
}

} // namespace

Parsed<WriteParameters> ParseWriteParametersPage(std::span<const std::uint8_t> page) {
    if (page.size() < kWriteParametersMinLength) {
        return Parsed<WriteParameters>::Fail(ParseError::TooShort);
    }
    if ((page[0] & 0x3F) != kWriteParametersPage) {
        return Parsed<WriteParameters>::Fail(ParseError::WrongFormat);
    }
    Parsed<WriteParameters> result;
    WriteParameters& params = result.value;
    params.underrunProtection = (page[2] & kBufeBit) != 0;
    params.testWrite = (page[2] & kTestWriteBit) != 0;
    params.writeType = page[2] & 0x0F;
    params.multiSession = static_cast<std::uint8_t>(page[3] >> 6);
    params.copy = (page[3] & kCopyBit) != 0;
    params.trackMode = page[3] & 0x0F;
    params.dataBlockType = page[4] & 0x0F;
    params.sessionFormat = page[8];
    params.pauseLength = GetBe16(page, 14);
    params.page.assign(page.begin(), page.end());
    return result;
}

std::vector<std::uint8_t> BuildWriteParametersPage(const WriteParameters& params) {
    std::vector<std::uint8_t> page = params.page;
    if (page.size() < kWriteParametersMinLength) {
        // No page from the drive: a fresh one of the usual length.
        page.assign(2 + 0x32, 0);
        page[1] = 0x32;
    }
    page[0] = kWriteParametersPage;
    page[2] = Set(page[2], kBufeBit, params.underrunProtection);
    page[2] = Set(page[2], kTestWriteBit, params.testWrite);
    page[2] = static_cast<std::uint8_t>((page[2] & 0xF0) | (params.writeType & 0x0F));
    // Fixed packets only mean something to packet writing.
    const std::uint8_t fixedPacket =
        params.writeType == write::kTypePacket ? page[3] & kFixedPacketBit : 0;
    page[3] = static_cast<std::uint8_t>(((params.multiSession & 0x03) << 6) | fixedPacket |
                                        (params.copy ? kCopyBit : 0) | (params.trackMode & 0x0F));
    page[4] = static_cast<std::uint8_t>((page[4] & 0xF0) | (params.dataBlockType & 0x0F));
    page[8] = params.sessionFormat;
    PutBe16(page, 14, params.pauseLength);
    return page;
}

} // namespace quarnel
