#include "components/quarnel/device/DeviceStatus.h"

namespace quarnel::status {

std::uint32_t FromOutcome(const CommandOutcome& outcome, const SenseData& sense) {
    if (outcome.hostError != 0) {
        return kTransport | (outcome.hostError & 0x00FFFFFF);
    }
    if (outcome.scsiStatus == kStatusGood) {
        return kOk;
    }
    if (outcome.scsiStatus == kStatusCheckCondition) {
        return kCheckCondition | std::uint32_t{sense.key} << 16 | std::uint32_t{sense.asc} << 8 |
               sense.ascq;
    }
    return kScsiStatus | outcome.scsiStatus;
}

std::uint32_t FromParseError(ParseError error) {
    return error == ParseError::None ? kOk : kBadReply | static_cast<std::uint32_t>(error);
}

} // namespace quarnel::status
