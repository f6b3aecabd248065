#include "tools/cli/StatusText.h"

#include "components/quarnel/device/DeviceStatus.h"

#include <array>
#include <cstdio>

namespace cli {

namespace {

struct SenseName {
    std::uint8_t key;
    std::uint8_t asc;
    int ascq; // -1: any
    const char* text;
};

constexpr std::array kSenseNames{
    SenseName{2, 0x04, 0x01, "becoming ready"},
    SenseName{2, 0x04, 0x04, "formatting"},
    SenseName{2, 0x04, 0x07, "operation in progress"},
    SenseName{2, 0x04, 0x08, "long write in progress"},
    SenseName{2, 0x04, -1, "not ready"},
    SenseName{2, 0x3A, -1, "no disc"},
    SenseName{3, 0x0C, 0x09, "buffer underrun: the track is lost"},
    SenseName{3, 0x0C, -1, "write error"},
    SenseName{3, 0x11, -1, "unreadable sector"},
    SenseName{5, 0x20, 0x00, "command not supported by the drive"},
    SenseName{5, 0x21, 0x00, "address out of range"},
    SenseName{5, 0x21, 0x02, "invalid address for write"},
    SenseName{5, 0x24, 0x00, "invalid field in command"},
    SenseName{5, 0x26, -1, "invalid parameter"},
    SenseName{5, 0x2C, 0x00, "command sequence error"},
    SenseName{5, 0x30, -1, "medium not suited to this"},
    SenseName{5, 0x53, 0x02, "the tray is locked"},
    SenseName{5, 0x64, 0x00, "illegal mode for this track"},
    SenseName{6, 0x28, -1, "disc changed"},
    SenseName{6, 0x29, -1, "drive reset"},
};

std::string Format(const char* format, unsigned a, unsigned b = 0, unsigned c = 0) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), format, a, b, c);
    return text.data();
}

} // namespace

std::string StatusText(std::uint32_t status) {
    namespace s = quarnel::status;
    const std::uint32_t detail = status & 0x00FFFFFF;
    switch (status & 0xFF000000) {
    case s::kOk:
        return "done";
    case s::kCheckCondition: {
        const unsigned key = (detail >> 16) & 0x0F;
        const unsigned asc = (detail >> 8) & 0xFF;
        const unsigned ascq = detail & 0xFF;
        std::string text = Format("sense %X/%02X/%02X", key, asc, ascq);
        for (const SenseName& name : kSenseNames) {
            if (name.key == key && name.asc == asc &&
                (name.ascq < 0 || static_cast<unsigned>(name.ascq) == ascq)) {
                return text + " (" + name.text + ")";
            }
        }
        return text;
    }
    case s::kScsiStatus:
        return Format("SCSI status 0x%02X", detail);
    case s::kTransport:
        return Format("no answer from the drive (host error 0x%X)", detail);
    case s::kBadReply:
        switch (static_cast<quarnel::ParseError>(detail)) {
        case quarnel::ParseError::TooShort:
            return "the drive's reply was too short";
        case quarnel::ParseError::WrongFormat:
            return "the drive replied with something other than what was asked for";
        default:
            return "the drive's reply contradicts itself";
        }
    case s::kBadArgument:
        return "a request the drive classes refuse";
    case s::kDriveInUse:
        return "another program holds the drive";
    default:
        return Format("status 0x%08X", status);
    }
}

std::string MediumName(quarnel::MEDIUM_TYPE medium) {
    switch (medium) {
    case quarnel::MEDIUM_NONE:
        return "no disc";
    case quarnel::MEDIUM_CD_ROM:
        return "CD-ROM";
    case quarnel::MEDIUM_CD_R:
        return "CD-R";
    case quarnel::MEDIUM_CD_RW:
        return "CD-RW";
    case quarnel::MEDIUM_DVD_ROM:
        return "DVD-ROM";
    case quarnel::MEDIUM_DVD_R:
        return "DVD-R";
    case quarnel::MEDIUM_DVD_RAM:
        return "DVD-RAM";
    case quarnel::MEDIUM_DVD_RW_RESTRICTED:
    case quarnel::MEDIUM_DVD_RW_SEQUENTIAL:
    case quarnel::MEDIUM_DVD_RW_EITHER:
        return "DVD-RW";
    case quarnel::MEDIUM_DVD_PLUS_RW:
        return "DVD+RW";
    case quarnel::MEDIUM_DVD_PLUS_R:
        return "DVD+R";
    }
    return Format("profile 0x%04X", medium);
}

} // namespace cli
