#include "components/quarnel/emu/SubChannel.h"

#include "components/quarnel/mmc/Crc16.h"
#include "components/quarnel/mmc/Msf.h"

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kAdrPosition = 0x01;
constexpr std::uint8_t kLeadOut = 0xAA;
constexpr std::size_t kQDataBytes = 10;

std::uint8_t Bcd(std::uint32_t value) {
    return static_cast<std::uint8_t>(((value / 10 % 10) << 4) | (value % 10));
}

} // namespace

QPosition PositionOf(const DiscState& state, std::uint32_t lba) {
    QPosition at;
    at.lba = lba;
    const DiscTrack* previous = nullptr;
    for (const DiscTrack& track : state.tracks) {
        // A track's run-out still belongs to it; what follows up to the next
        // track's index 1 is that track's pre-gap (index 0), counting down.
        if (previous != nullptr && lba < state.AfterRunOut(*previous)) {
            break;
        }
        if (lba < track.start) {
            return {track.control, static_cast<std::uint8_t>(track.number), 0, track.start - lba,
                    lba};
        }
        previous = &track;
    }
    if (previous != nullptr && lba < state.AfterRunOut(*previous)) {
        return {previous->control, static_cast<std::uint8_t>(previous->number), 1,
                lba - previous->start, lba};
    }
    at.track = kLeadOut;
    at.control = previous == nullptr ? 0 : previous->control;
    at.relativeBlocks = previous == nullptr ? lba : lba - state.AfterRunOut(*previous);
    return at;
}

std::array<std::uint8_t, kFormattedQBytes> BuildFormattedQ(const QPosition& at) {
    std::array<std::uint8_t, kFormattedQBytes> q{};
    const std::uint32_t relative = at.relativeBlocks;
    const std::uint32_t absolute = at.lba + kPregapFrames;
    q[0] = static_cast<std::uint8_t>((at.control << 4) | kAdrPosition);
    q[1] = at.track == kLeadOut ? kLeadOut : Bcd(at.track);
    q[2] = Bcd(at.index);
    q[3] = Bcd(relative / (60 * kFramesPerSecond));
    q[4] = Bcd(relative / kFramesPerSecond % 60);
    q[5] = Bcd(relative % kFramesPerSecond);
    q[7] = Bcd(absolute / (60 * kFramesPerSecond));
    q[8] = Bcd(absolute / kFramesPerSecond % 60);
    q[9] = Bcd(absolute % kFramesPerSecond);
    const auto crc = static_cast<std::uint16_t>(~Crc16Ccitt(std::span(q).first(kQDataBytes)));
    q[10] = static_cast<std::uint8_t>(crc >> 8);
    q[11] = static_cast<std::uint8_t>(crc);
    return q;
}

std::array<std::uint8_t, kRawSubChannelBytes> BuildRawSubChannel(const QPosition& at) {
    const std::array<std::uint8_t, kFormattedQBytes> q = BuildFormattedQ(at);
    const std::uint8_t p = at.index == 0 ? 0x80 : 0x00;
    std::array<std::uint8_t, kRawSubChannelBytes> raw{};
    for (std::size_t bit = 0; bit < raw.size(); ++bit) {
        const bool qBit = ((q[bit / 8] >> (7 - bit % 8)) & 1) != 0;
        raw[bit] = static_cast<std::uint8_t>(p | (qBit ? 0x40 : 0));
    }
    return raw;
}

} // namespace quarnel::emu
