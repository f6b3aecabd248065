// What a host asks a writer before and while it writes: GET EVENT STATUS
// NOTIFICATION, READ BUFFER CAPACITY, READ FORMAT CAPACITIES and GET
// PERFORMANCE.
#include "components/quarnel/emu/CapabilitiesPage.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kMediaClass = 4;
constexpr std::uint8_t kMediaClassBit = 1U << kMediaClass;
constexpr std::uint8_t kNoEventAvailable = 0x80;
constexpr std::uint8_t kCapacityUnformatted = 1;
constexpr std::uint8_t kCapacityFormatted = 2;
constexpr std::uint8_t kCapacityNoMedium = 3;
constexpr std::uint8_t kFormatFull = 0x00;
constexpr std::uint8_t kFormatDvdPlusRw = 0x26;
constexpr std::uint8_t kPerformanceData = 0x00;
constexpr std::uint8_t kWriteSpeedData = 0x03;
constexpr std::size_t kPerformanceDescriptorBytes = 16;

void PutCapacity(std::vector<std::uint8_t>& out, std::uint32_t blocks, std::uint8_t type,
                 std::uint32_t blockBytes) {
    const std::size_t at = out.size();
    out.resize(at + 8);
    PutBe32(out, at, blocks);
    out[at + 4] = type;
    PutBe24(out, at + 5, blockBytes);
}

} // namespace

EmulatedDrive::Answer EmulatedDrive::GetEventStatus(const Command& command) {
    if ((command.cdb.bytes[1] & 0x01) == 0) {
        return {sense::kInvalidField}; // only polled reports are offered
    }
    std::vector<std::uint8_t> out(4, 0);
    out[3] = kMediaClassBit;
    if ((command.cdb.bytes[4] & kMediaClassBit) == 0) {
        out[2] = kNoEventAvailable;
    } else {
        out[2] = kMediaClass;
        const bool present = m_state.HasMedium() && !m_state.trayOpen;
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(m_mediaEvent),
                    static_cast<std::uint8_t>((present ? 0x02 : 0) | (m_state.trayOpen ? 0x01 : 0)),
                    0, 0});
        m_mediaEvent = MediaEvent::None; // reported once
    }
    PutBe16(out, 0, static_cast<std::uint16_t>(out.size() - 2));
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ReadBufferCapacity(const Command& command) {
    const bool inBlocks = (command.cdb.bytes[1] & 0x01) != 0;
    (void)m_buffer.Drain(m_clock->Now());
    const std::uint64_t capacity = m_buffer.CapacityBytes();
    const std::uint64_t free = capacity - std::min(capacity, m_buffer.LevelBytes());
    std::array<std::uint8_t, 12> out{};
    PutBe16(out, 0, static_cast<std::uint16_t>(out.size() - 2));
    if (inBlocks) {
        out[3] = 0x01;
        const std::uint32_t blockBytes =
            m_state.Traits().blockBytes == 0 ? 2048 : m_state.Traits().blockBytes;
        PutBe32(out, 8, static_cast<std::uint32_t>(free / blockBytes));
    } else {
        PutBe32(out, 4, static_cast<std::uint32_t>(capacity));
        PutBe32(out, 8, static_cast<std::uint32_t>(free));
    }
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::ReadFormatCapacities(const Command& command) {
    std::vector<std::uint8_t> out(4, 0);
    const MediumTraits& traits = m_state.Traits();
    if (!m_state.HasMedium() || m_state.trayOpen) {
        PutCapacity(out, 0xFFFFFFFF, kCapacityNoMedium, 2048);
    } else {
        const bool formatted = !traits.randomWritable || m_state.formatted;
        PutCapacity(out, m_state.Capacity(),
                    formatted && !m_state.Blank() ? kCapacityFormatted : kCapacityUnformatted,
                    traits.blockBytes);
        if (m_state.medium == MediumKind::DvdPlusRw) {
            PutCapacity(out, m_state.Capacity(), kFormatDvdPlusRw << 2, 0);
        } else if (m_state.medium == MediumKind::DvdRam) {
            PutCapacity(out, m_state.Capacity(), kFormatFull << 2, traits.blockBytes);
        }
    }
    out[3] = static_cast<std::uint8_t>(out.size() - 4);
    return Reply(command, out, GetBe16(command.cdb.bytes, 7));
}

EmulatedDrive::Answer EmulatedDrive::GetPerformance(const Command& command) {
    const std::uint8_t type = command.cdb.bytes[10];
    const bool write = (command.cdb.bytes[1] & 0x04) != 0;
    const std::uint16_t wanted = GetBe16(command.cdb.bytes, 8);
    if (type != kPerformanceData && type != kWriteSpeedData) {
        return {sense::kInvalidField};
    }
    std::vector<std::uint8_t> out(8, 0);
    const std::uint32_t end = m_state.HasMedium() ? m_state.Capacity() : kCdCapacityBlocks;
    // The speeds of the capabilities page: the top write speed, or the
    // current one, over the whole disc.
    const std::uint32_t writeKBps = SpeedKBps(m_settings.writeSpeedX);
    const std::uint32_t readKBps = SpeedKBps(0);
    if (wanted > 0) {
        std::array<std::uint8_t, kPerformanceDescriptorBytes> descriptor{};
        if (type == kWriteSpeedData) {
            PutBe32(descriptor, 4, end);
            PutBe32(descriptor, 8, readKBps);
            PutBe32(descriptor, 12, writeKBps);
        } else {
            const std::uint32_t speed = write ? SpeedKBps(m_writeSpeedX) : readKBps;
            PutBe32(descriptor, 4, speed);
            PutBe32(descriptor, 8, end);
            PutBe32(descriptor, 12, speed);
        }
        out.insert(out.end(), descriptor.begin(), descriptor.end());
    }
    out[4] = static_cast<std::uint8_t>(type == kPerformanceData && write ? 0x02 : 0);
    PutBe32(out, 0, static_cast<std::uint32_t>(out.size() - 4));
    const std::size_t allocation = 8 + std::size_t{wanted} * kPerformanceDescriptorBytes;
    return Reply(command, out, static_cast<std::uint32_t>(allocation));
}

} // namespace quarnel::emu
