// Commands that read the disc's blocks and where they lie: READ CD, READ
// CAPACITY and READ SUB-CHANNEL.
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/SubChannel.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Msf.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kSectorAny = 0;
constexpr std::uint8_t kSectorCdDa = 1;
// Byte 9 of READ CD: sync (bit 7), header codes (6-5), user data (4),
// EDC/ECC (3), C2 error information (2-1). A CD-DA block has nothing but
// user data, so the other fields add nothing except the C2 bytes.
constexpr std::uint8_t kFieldUserData = 0x10;
constexpr std::uint8_t kFieldC2Mask = 0x06;
constexpr std::uint8_t kC2Pointers = 0x02;
constexpr std::uint8_t kC2PointersAndBlockError = 0x04;
constexpr std::uint32_t kC2PointerBytes = 294;
// Byte 10: 1 raw P-W, 2 formatted Q, 4 corrected R-W.
constexpr std::uint8_t kSubNone = 0;
constexpr std::uint8_t kSubRaw = 1;
constexpr std::uint8_t kSubQ = 2;
constexpr std::uint8_t kSubRw = 4;
constexpr std::uint32_t kAudioBlockBytes = 2352;
constexpr std::uint32_t kReportedBlockBytes = 2048;
constexpr std::uint8_t kSubChannelPosition = 1;
constexpr std::uint8_t kSubChannelCatalog = 2;
constexpr std::uint8_t kSubChannelIsrc = 3;
constexpr std::uint8_t kNoAudioStatus = 0x15;
constexpr std::size_t kCatalogDigits = 13;

struct ReadCdLayout {
    std::uint32_t userBytes = 0;
    std::uint32_t c2Bytes = 0;
    std::uint8_t subChannel = kSubNone;

    [[nodiscard]] std::uint32_t SubBytes() const {
        return subChannel == kSubQ ? kFormattedQBytes
                                   : (subChannel == kSubNone ? 0 : kRawSubChannelBytes);
    }
    [[nodiscard]] std::uint32_t BlockBytes() const { return userBytes + c2Bytes + SubBytes(); }
};

std::optional<ReadCdLayout> LayoutOf(std::uint8_t fields, std::uint8_t subChannel) {
    const std::uint8_t c2 = fields & kFieldC2Mask;
    if ((fields & 0x01) != 0 || c2 == kFieldC2Mask ||
        (subChannel != kSubNone && subChannel != kSubRaw && subChannel != kSubQ &&
         subChannel != kSubRw)) {
        return std::nullopt;
    }
    ReadCdLayout layout;
    layout.userBytes = (fields & kFieldUserData) != 0 ? kAudioBlockBytes : 0;
    layout.c2Bytes = c2 == kC2Pointers                ? kC2PointerBytes
                     : c2 == kC2PointersAndBlockError ? kC2PointerBytes + 2
                                                      : 0;
    layout.subChannel = subChannel;
    return layout;
}

void PutAddress(std::span<std::uint8_t> out, std::size_t at, std::uint32_t lba, bool msf) {
    if (!msf) {
        PutBe32(out, at, lba);
        return;
    }
    const Msf time = LbaToMsf(lba);
    out[at] = 0;
    out[at + 1] = time.minutes;
    out[at + 2] = time.seconds;
    out[at + 3] = time.frames;
}

} // namespace

EmulatedDrive::Answer EmulatedDrive::ReadCd(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const std::uint8_t sectorType = (command.cdb.bytes[1] >> 2) & 0x07;
    const std::uint32_t lba = GetBe32(command.cdb.bytes, 2);
    const std::uint32_t blocks = GetBe24(command.cdb.bytes, 6);
    const std::optional<ReadCdLayout> layout =
        LayoutOf(command.cdb.bytes[9], command.cdb.bytes[10] & 0x07);
    if ((sectorType != kSectorAny && sectorType != kSectorCdDa) || !layout) {
        return {sense::kInvalidField};
    }
    if (!m_state.Traits().cd) {
        return {sense::kIncompatibleMedium};
    }
    const std::uint64_t bytes = std::uint64_t{layout->BlockBytes()} * blocks;
    if (command.direction == DataDirection::FromDevice && command.data.size() < bytes) {
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
    if (blocks > 0) {
        m_lastReadLba = lba + blocks - 1;
    }
    if (bytes == 0 || command.direction != DataDirection::FromDevice) {
        return {};
    }
    const std::span<std::uint8_t> out = command.data.first(bytes);
    const std::uint64_t imageBytes = m_image.Size();
    for (std::uint32_t i = 0; i < blocks; ++i) {
        const std::span<std::uint8_t> block =
            out.subspan(std::size_t{i} * layout->BlockBytes(), layout->BlockBytes());
        const std::uint64_t offset = std::uint64_t{lba + i} * kAudioBlockBytes;
        if (layout->userBytes != 0 && offset >= imageBytes) {
            // The last track's run-out: silence that the image does not hold.
            std::fill_n(block.begin(), kAudioBlockBytes, std::uint8_t{0});
        } else if (layout->userBytes != 0 && !m_image.Read(offset, block.first(kAudioBlockBytes))) {
            return {sense::kUnrecoveredRead};
        }
        const std::uint32_t address = lba + i;
        if (layout->userBytes != 0 &&
            std::any_of(m_settings.faults.unstable.begin(), m_settings.faults.unstable.end(),
                        [address](const BlockRange& range) { return range.Contains(address); })) {
            const std::uint32_t reading = m_unstableReadings[address]++;
            for (std::size_t k = 0; k < sizeof reading && reading > 0; ++k) {
                block[k] ^= static_cast<std::uint8_t>(reading >> (8 * k));
            }
        }
        // Every block read back is whole: no C2 error pointer is set.
        std::fill_n(block.begin() + layout->userBytes, layout->c2Bytes, std::uint8_t{0});
        const std::span<std::uint8_t> sub = block.subspan(layout->userBytes + layout->c2Bytes);
        const QPosition position = PositionOf(m_state, lba + i);
        if (layout->subChannel == kSubQ) {
            const auto q = BuildFormattedQ(position);
            std::copy(q.begin(), q.end(), sub.begin());
        } else if (layout->subChannel == kSubRaw) {
            const auto raw = BuildRawSubChannel(position);
            std::copy(raw.begin(), raw.end(), sub.begin());
        } else {
            std::fill(sub.begin(), sub.end(), std::uint8_t{0}); // R-W: no CD-Text or graphics
        }
    }
    return {sense::kNone, static_cast<std::uint32_t>(bytes)};
}

EmulatedDrive::Answer EmulatedDrive::ReadCapacity(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    // The last block before the lead-out of the last session in the table of
    // contents; a disc without one reports block 0.
    std::uint32_t last = 0;
    if (m_state.Traits().randomWritable) {
        last = m_state.formatted ? m_state.Capacity() - 1 : 0;
    } else if (m_state.medium == MediumKind::PressedCd) {
        last = m_state.imageBlocks == 0 ? 0 : m_state.imageBlocks - 1;
    } else {
        for (const DiscTrack& track : m_state.TracksOfSession(m_state.closedSessions)) {
            last = m_state.AfterRunOut(track) - 1;
        }
    }
    std::array<std::uint8_t, 8> out{};
    PutBe32(out, 0, last);
    PutBe32(out, 4, kReportedBlockBytes);
    return Reply(command, out, static_cast<std::uint32_t>(out.size()));
}

EmulatedDrive::Answer EmulatedDrive::ReadSubChannel(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const bool msf = (command.cdb.bytes[1] & 0x02) != 0;
    const bool subQ = (command.cdb.bytes[2] & 0x40) != 0;
    const std::uint8_t format = command.cdb.bytes[3];
    const std::uint8_t trackNumber = command.cdb.bytes[6];
    std::vector<std::uint8_t> out(4, 0);
    out[1] = kNoAudioStatus;
    if (subQ) {
        if (format == kSubChannelPosition) {
            out.resize(16, 0);
            const QPosition at = PositionOf(m_state, m_lastReadLba);
            out[5] = static_cast<std::uint8_t>(0x10 | at.control);
            out[6] = at.track;
            out[7] = at.index;
            PutAddress(out, 8, at.lba, msf);
            if (msf) {
                const std::uint32_t relative = at.relativeBlocks + kPregapFrames;
                PutAddress(out, 12, relative, true);
            } else {
                PutBe32(out, 12, at.relativeBlocks);
            }
        } else if (format == kSubChannelCatalog) {
            out.resize(24, 0);
            const std::string& catalog = m_state.catalog;
            if (catalog.size() == kCatalogDigits) {
                out[8] = 0x80;
                std::copy(catalog.begin(), catalog.end(), out.begin() + 9);
            }
        } else if (format == kSubChannelIsrc) {
            const bool known =
                std::any_of(m_state.tracks.begin(), m_state.tracks.end(),
                            [trackNumber](const DiscTrack& t) { return t.number == trackNumber; });
            if (!known) {
                return {sense::kInvalidField};
            }
            out.resize(24, 0);
            out[5] = 0x10;
            out[6] = trackNumber; // no track of this disc carries an ISRC
        } else {
            return {sense::kInvalidField};
        }
        out[4] = format;
    }
    PutBe16(out, 2, static_cast<std::uint16_t>(out.size() - 4));
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

} // namespace quarnel::emu
