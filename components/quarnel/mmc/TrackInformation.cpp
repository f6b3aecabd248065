#include "components/quarnel/mmc/TrackInformation.h"

#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel {

Parsed<TrackInformation> ParseTrackInformation(std::span<const std::uint8_t> reply) {
    if (reply.size() < kTrackInformationMinLength) {
        return Parsed<TrackInformation>::Fail(ParseError::TooShort);
    }
    const std::size_t declared = std::size_t{2} + GetBe16(reply, 0);
    if (declared < kTrackInformationMinLength) {
        return Parsed<TrackInformation>::Fail(ParseError::Inconsistent);
    }
    // Bytes past the reply's own length are not part of it.
    reply = reply.first(std::min(reply.size(), declared));
    Parsed<TrackInformation> result;
    TrackInformation& info = result.value;
    info.track = static_cast<std::uint16_t>(GetU8(reply, 32) << 8 | reply[2]);
    info.session = static_cast<std::uint16_t>(GetU8(reply, 33) << 8 | reply[3]);
    info.damage = (reply[5] & 0x20) != 0;
    info.copy = (reply[5] & 0x10) != 0;
    info.trackMode = reply[5] & 0x0F;
    info.reserved = (reply[6] & 0x80) != 0;
    info.blank = (reply[6] & 0x40) != 0;
    info.packet = (reply[6] & 0x20) != 0;
    info.fixedPacket = (reply[6] & 0x10) != 0;
    info.dataMode = reply[6] & 0x0F;
    info.lastRecordedValid = (reply[7] & 0x02) != 0 && reply.size() >= 32;
    info.nextWritableValid = (reply[7] & 0x01) != 0;
    info.start = GetBe32(reply, 8);
    info.nextWritable = GetBe32(reply, 12);
    info.freeBlocks = GetBe32(reply, 16);
    info.fixedPacketSize = GetBe32(reply, 20);
    info.size = GetBe32(reply, 24);
    info.lastRecorded = GetBe32(reply, 28);
    std::copy_n(reply.begin(), std::min(reply.size(), info.raw.size()), info.raw.begin());
    return result;
}

} // namespace quarnel
