// Erasing and tray commands of the emulated drive: BLANK, FORMAT UNIT,
// PREVENT ALLOW MEDIUM REMOVAL, START STOP UNIT and SET CD SPEED.
#include "components/quarnel/emu/CapabilitiesPage.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kBlankFull = 0;
constexpr std::uint8_t kBlankMinimal = 1;
constexpr std::uint8_t kFormatDvdPlusRw = 0x26;
constexpr std::uint8_t kFormatFull = 0x00;
constexpr std::uint8_t kFormatSpare = 0x01;
constexpr std::size_t kFormatListBytes = 12;
// How long the drive works, at time scale 1.
constexpr double kCdMinimalBlankSeconds = 25.0;
constexpr double kCdFullBlankSeconds = 300.0;
constexpr double kDvdMinimalBlankSeconds = 60.0;
constexpr double kDvdFullBlankSeconds = 900.0;
constexpr double kDvdPlusRwFormatSeconds = 30.0;
constexpr double kDvdRamFormatSeconds = 60.0;
constexpr std::uint16_t kMaximumSpeed = 0xFFFF;

} // namespace

EmulatedDrive::Answer EmulatedDrive::Blank(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const bool immediate = (command.cdb.bytes[1] & 0x10) != 0;
    const std::uint8_t type = command.cdb.bytes[1] & 0x07;
    if (type != kBlankFull && type != kBlankMinimal) {
        return {sense::kInvalidField};
    }
    const MediumKind medium = m_state.medium;
    if (medium != MediumKind::CdRw && medium != MediumKind::DvdRw) {
        return {sense::kIncompatibleMedium};
    }
    if (const SenseCode writable = MediumWritable(); !writable.Good()) {
        return {writable};
    }
    const DiscState before = m_state;
    m_state.Erase();
    if (!SaveOrRollBack(before, true) || !m_image.Truncate(0)) {
        return {sense::kWriteError};
    }
    m_buffer.EndStream();
    const bool cd = medium == MediumKind::CdRw;
    const double seconds = type == kBlankFull
                               ? (cd ? kCdFullBlankSeconds : kDvdFullBlankSeconds)
                               : (cd ? kCdMinimalBlankSeconds : kDvdMinimalBlankSeconds);
    TakeTime(Scaled(seconds), immediate, sense::kOperationInProgress);
    return {};
}

EmulatedDrive::Answer EmulatedDrive::FormatUnit(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const MediumKind medium = m_state.medium;
    if (medium != MediumKind::DvdPlusRw && medium != MediumKind::DvdRam) {
        return {sense::kIncompatibleMedium};
    }
    if (const SenseCode writable = MediumWritable(); !writable.Good()) {
        return {writable};
    }
    bool immediate = false;
    if ((command.cdb.bytes[1] & 0x10) != 0) { // FmtData: a parameter list follows
        if ((command.cdb.bytes[1] & 0x07) != 1) {
            return {sense::kInvalidField};
        }
        if (command.direction != DataDirection::ToDevice ||
            command.data.size() < kFormatListBytes) {
            return {sense::kParameterListLength};
        }
        const std::span<const std::uint8_t> list = command.data;
        immediate = (list[1] & 0x02) != 0;
        const std::uint8_t type = list[8] >> 2;
        const bool fits = medium == MediumKind::DvdPlusRw
                              ? type == kFormatDvdPlusRw
                              : type == kFormatFull || type == kFormatSpare;
        if (!fits) {
            return {sense::kInvalidParameter};
        }
    }
    const DiscState before = m_state;
    m_state.Erase();
    m_state.formatted = true;
    if (!SaveOrRollBack(before, true) || !m_image.Truncate(0)) {
        return {sense::kWriteError};
    }
    const double seconds =
        medium == MediumKind::DvdPlusRw ? kDvdPlusRwFormatSeconds : kDvdRamFormatSeconds;
    TakeTime(Scaled(seconds), immediate, sense::kFormatInProgress);
    return {};
}

EmulatedDrive::Answer EmulatedDrive::PreventAllow(const Command& command) {
    if (Busy()) {
        return {m_busy.sense};
    }
    const bool prevent = (command.cdb.bytes[4] & 0x01) != 0;
    if (prevent && !m_settings.capabilities.lock) {
        return {sense::kInvalidField};
    }
    const DiscState before = m_state;
    m_state.locked = prevent;
    m_state.lockOwner = prevent ? util::ProcessIdentity::Current() : util::ProcessIdentity{};
    if (!SaveOrRollBack(before, false)) {
        return {sense::kWriteError};
    }
    return {};
}

EmulatedDrive::Answer EmulatedDrive::StartStop(const Command& command) {
    if (Busy()) {
        return {m_busy.sense};
    }
    const std::uint8_t control = command.cdb.bytes[4];
    const DiscState before = m_state;
    const bool loadEject = (control & 0x02) != 0;
    const bool start = (control & 0x01) != 0;
    if ((control & 0xF0) != 0 || !loadEject) {
        return {}; // spinning up or down, or a power condition: nothing to emulate
    }
    if (!start) {
        if (!m_settings.capabilities.eject) {
            return {sense::kInvalidField};
        }
        if (m_state.locked) {
            return {sense::kRemovalPrevented};
        }
        if (!m_state.trayOpen) {
            m_state.trayOpen = true;
            m_buffer.EndStream();
            if (!SaveOrRollBack(before, false)) {
                return {sense::kWriteError};
            }
            if (m_state.HasMedium()) {
                QueueEvent(DiscEventKind::Removed);
            }
        }
        return {};
    }
    if (m_state.trayOpen) {
        m_state.trayOpen = false;
        if (!SaveOrRollBack(before, false)) {
            return {sense::kWriteError};
        }
        if (m_state.HasMedium()) {
            QueueEvent(DiscEventKind::Arrived);
        }
    }
    return {};
}

EmulatedDrive::Answer EmulatedDrive::SetCdSpeed(const Command& command) {
    const std::uint16_t readKBps = GetBe16(command.cdb.bytes, 2);
    m_readingSlowest = readKBps <= kCdSpeed1xKBps;
    const std::uint16_t writeKBps = GetBe16(command.cdb.bytes, 4);
    const std::uint32_t maximum = m_settings.writeSpeedX;
    if (writeKBps == kMaximumSpeed) {
        m_writeSpeedX = maximum;
    } else {
        const std::uint32_t asked =
            std::max<std::uint32_t>(1, (writeKBps + kCdSpeed1xKBps / 2) / kCdSpeed1xKBps);
        m_writeSpeedX = maximum == 0 ? asked : std::min(asked, maximum);
    }
    ConfigureBuffer();
    return {};
}

} // namespace quarnel::emu
