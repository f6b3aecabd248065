// Commands that describe or read the disc: READ DISC INFORMATION, READ TRACK
// INFORMATION and READ TOC/PMA/ATIP.
#include "components/quarnel/emu/CdTextPacks.h"
#include "components/quarnel/emu/DiscInfoReply.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/TocReply.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kTocTracks = 0;
constexpr std::uint8_t kTocSessions = 1;
constexpr std::uint8_t kTocFull = 2;
constexpr std::uint8_t kTocPma = 3;
constexpr std::uint8_t kTocAtip = 4;
constexpr std::uint8_t kTocCdText = 5;

} // namespace

EmulatedDrive::Answer EmulatedDrive::ReadDiscInformation(const Command& command) {
    if ((command.cdb.bytes[1] & 0x07) != 0) {
        return {sense::kInvalidField};
    }
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const auto out = BuildDiscInformation(m_state);
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ReadTrackInformation(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const auto type = static_cast<TrackAddressType>(command.cdb.bytes[1] & 0x03);
    const auto out = BuildTrackInformation(m_state, type, GetBe32(command.cdb.bytes, 2));
    if (!out) {
        return {sense::kInvalidField};
    }
    return Reply(command, *out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ReadToc(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const bool msf = (command.cdb.bytes[1] & 0x02) != 0;
    std::uint8_t format = command.cdb.bytes[2] & 0x0F;
    if (format == 0 && command.cdb.bytes[9] != 0) {
        format = command.cdb.bytes[9] >> 6; // the older place of the format field
    }
    const std::uint32_t allocation = GetBe16(command.cdb.bytes, 7);
    std::optional<std::vector<std::uint8_t>> out;
    switch (format) {
    case kTocTracks:
        out = BuildTrackToc(m_state, msf, command.cdb.bytes[6]);
        break;
    case kTocSessions:
        out = BuildSessionToc(m_state, msf);
        break;
    case kTocFull:
        out = BuildFullToc(m_state);
        break;
    case kTocPma:
        out = BuildPma(m_state);
        break;
    case kTocAtip:
        out = BuildAtip(m_state);
        break;
    case kTocCdText: {
        std::vector<std::uint8_t> packs(4, 0);
        for (const CdTextPack& pack : BuildCdTextPacks(m_state)) {
            packs.insert(packs.end(), pack.begin(), pack.end());
        }
        PutBe16(packs, 0, static_cast<std::uint16_t>(packs.size() - 2));
        out = std::move(packs);
        break;
    }
    default:
        break;
    }
    if (!out) {
        return {sense::kInvalidField};
    }
    return Reply(command, *out, allocation);
}

} // namespace quarnel::emu
