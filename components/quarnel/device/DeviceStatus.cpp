#include "components/quarnel/device/DeviceStatus.h"

#include <array>
#include <cstdio>

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

SenseCode SenseOf(std::uint32_t status) {
    if ((status & 0xFF000000U) != kCheckCondition) {
        return {};
    }
    return {static_cast<std::uint8_t>((status >> 16) & 0x0FU),
            static_cast<std::uint8_t>((status >> 8) & 0xFFU), static_cast<std::uint8_t>(status)};
}

std::string Text(std::uint32_t status) {
    const std::uint32_t detail = status & 0x00FFFFFF;
    std::array<char, 64> text{};
    switch (status & 0xFF000000) {
    case kOk:
        return "done";
    case kCheckCondition:
        return "sense " + DescribeSense(SenseOf(status));
    case kScsiStatus:
        if (detail == kStatusBusy) {
            return "the drive is busy: another program is writing or erasing with it";
        }
        std::snprintf(text.data(), text.size(), "SCSI status 0x%02X", detail);
        return text.data();
    case kTransport:
        std::snprintf(text.data(), text.size(), "no answer from the drive (host error 0x%X)",
                      detail);
        return text.data();
    case kBadReply:
        switch (static_cast<ParseError>(detail)) {
        case ParseError::TooShort:
            return "the drive's reply was too short";
        case ParseError::WrongFormat:
            return "the drive replied with something other than what was asked for";
        default:
            return "the drive's reply contradicts itself";
        }
    case kBadArgument:
        return "a request the drive classes refuse";
    case kDriveInUse:
        return "another program holds the drive";
    default:
        std::snprintf(text.data(), text.size(), "status 0x%08X", status);
        return text.data();
    }
}

} // namespace quarnel::status
