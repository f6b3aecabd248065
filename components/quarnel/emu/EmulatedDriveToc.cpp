// Commands that describe or read the disc: READ DISC INFORMATION, READ TRACK
// INFORMATION, READ TOC/PMA/ATIP and READ CD.
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
constexpr std::uint8_t kTocCdText = 5;
constexpr std::uint8_t kSectorAny = 0;
constexpr std::uint8_t kSectorCdDa = 1;
constexpr std::uint8_t kReadNothing = 0x00;
constexpr std::uint8_t kReadUserData = 0x10;
constexpr std::uint8_t kReadEverything = 0xF8;
constexpr std::uint32_t kAudioBlockBytes = 2352;

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

EmulatedDrive::Answer EmulatedDrive::ReadCd(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const std::uint8_t sectorType = (command.cdb.bytes[1] >> 2) & 0x07;
    const std::uint32_t lba = GetBe32(command.cdb.bytes, 2);
    const std::uint32_t blocks = GetBe24(command.cdb.bytes, 6);
    const std::uint8_t fields = command.cdb.bytes[9];
    if ((sectorType != kSectorAny && sectorType != kSectorCdDa) || command.cdb.bytes[10] != 0 ||
        (fields != kReadNothing && fields != kReadUserData && fields != kReadEverything)) {
        return {sense::kInvalidField};
    }
    if (!m_state.Traits().cd) {
        return {sense::kIncompatibleMedium};
    }
    const std::uint64_t bytesPerBlock = fields == kReadNothing ? 0 : kAudioBlockBytes;
    if (command.direction == DataDirection::FromDevice &&
        command.data.size() < bytesPerBlock * blocks) {
        return {sense::kInvalidField};
    }
    for (std::uint32_t i = 0; i < blocks; ++i) {
        const std::uint32_t block = lba + i;
        if (block < lba || !m_state.Readable(block)) {
            return {sense::kAddressOutOfRange};
        }
        for (const DiscTrack& track : m_state.tracks) {
            if (block >= track.start && block < track.End() && (track.control & 0x04) != 0 &&
                sectorType == kSectorCdDa) {
                return {sense::kIllegalModeForTrack};
            }
        }
        const auto inRanges = [block](const std::vector<BlockRange>& ranges) {
            return std::any_of(ranges.begin(), ranges.end(),
                               [block](const BlockRange& range) { return range.Contains(block); });
        };
        if (inRanges(m_settings.faults.unreadable) ||
            (!m_readingSlowest && inRanges(m_settings.faults.readableOnlySlowly))) {
            return {sense::kUnrecoveredRead};
        }
    }
    if (bytesPerBlock == 0 || command.direction != DataDirection::FromDevice) {
        return {};
    }
    const std::uint64_t bytes = bytesPerBlock * blocks;
    if (!m_image.Read(std::uint64_t{lba} * kAudioBlockBytes, command.data.first(bytes))) {
        return {sense::kUnrecoveredRead};
    }
    return {sense::kNone, static_cast<std::uint32_t>(bytes)};
}

} // namespace quarnel::emu
