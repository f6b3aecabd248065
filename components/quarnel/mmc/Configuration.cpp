#include "components/quarnel/mmc/Configuration.h"

#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel {

Parsed<std::uint16_t> ParseCurrentProfile(std::span<const std::uint8_t> reply) {
    if (reply.size() < kFeatureHeaderLength) {
        return Parsed<std::uint16_t>::Fail(ParseError::TooShort);
    }
    // The data length counts the bytes after itself: at least the rest of the header.
    if (GetBe32(reply, 0) < kFeatureHeaderLength - 4) {
        return Parsed<std::uint16_t>::Fail(ParseError::Inconsistent);
    }
    Parsed<std::uint16_t> result;
    result.value = GetBe16(reply, 6);
    return result;
}

} // namespace quarnel
