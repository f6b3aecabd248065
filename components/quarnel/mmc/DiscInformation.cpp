#include "components/quarnel/mmc/DiscInformation.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel {

Parsed<DiscInformation> ParseDiscInformation(std::span<const std::uint8_t> reply) {
    if (reply.size() < kDiscInformationMinLength) {
        return Parsed<DiscInformation>::Fail(ParseError::TooShort);
    }
    // Bits 7-5 of byte 2 name the data type; 000b is the standard block asked for.
    if ((reply[2] & 0xE0) != 0) {
        return Parsed<DiscInformation>::Fail(ParseError::WrongFormat);
    }
    const std::size_t declared = std::size_t{2} + GetBe16(reply, 0);
    if (declared < kDiscInformationMinLength) {
        return Parsed<DiscInformation>::Fail(ParseError::Inconsistent);
    }
    // Bytes past the reply's own length are not part of it.
    reply = reply.first(std::min(reply.size(), declared));
    Parsed<DiscInformation> result;
    DiscInformation& info = result.value;
    info.erasable = (reply[2] & 0x10) != 0;
    info.lastSessionState = (reply[2] >> 2) & 0x03;
    info.discStatus = reply[2] & 0x03;
    info.firstTrack = reply[3];
    info.sessions = static_cast<std::uint16_t>(GetU8(reply, 9) << 8 | reply[4]);
    info.firstTrackLastSession = static_cast<std::uint16_t>(GetU8(reply, 10) << 8 | reply[5]);
    info.lastTrackLastSession = static_cast<std::uint16_t>(GetU8(reply, 11) << 8 | reply[6]);
    info.backgroundFormat = reply[7] & 0x03;
    info.discType = reply[8];
    std::copy_n(reply.begin() + 16, 4, info.lastSessionLeadIn.begin());
    std::copy_n(reply.begin() + 20, 4, info.lastPossibleLeadOut.begin());
    std::copy_n(reply.begin(), std::min(reply.size(), info.raw.size()), info.raw.begin());
    return result;
}

} // namespace quarnel
