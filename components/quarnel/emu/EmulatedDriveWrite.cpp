// Recording commands of the emulated drive: WRITE(10), SYNCHRONIZE CACHE and
// CLOSE TRACK/SESSION, with the buffer model and the write faults.
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/mmc/ByteOrder.h"

namespace quarnel::emu {

namespace {

constexpr std::uint8_t kCloseTrack = 1;
constexpr std::uint8_t kCloseSession = 2;
constexpr double kCloseSessionSeconds = 2.0;
constexpr double kCloseTrackSeconds = 0.2;

} // namespace

EmulatedDrive::Answer EmulatedDrive::Write(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    if (const SenseCode writable = MediumWritable(); !writable.Good()) {
        return {writable};
    }
    const MediumTraits& traits = m_state.Traits();
    const std::uint32_t lba = GetBe32(command.cdb.bytes, 2);
    const std::uint32_t blocks = GetBe16(command.cdb.bytes, 7);
    const std::uint64_t bytes = std::uint64_t{blocks} * traits.blockBytes;
    if (command.direction != DataDirection::ToDevice || command.data.size() != bytes) {
        return {sense::kInvalidField};
    }
    if (blocks == 0) {
        return {};
    }
    if (traits.randomWritable) {
        if (std::uint64_t{lba} + blocks > m_state.Capacity()) {
            return {sense::kAddressOutOfRange};
        }
    } else if (const SenseCode checked = CheckSequentialWrite(lba, blocks); !checked.Good()) {
        return {checked};
    }
    FaultPlan& faults = m_settings.faults;
    if (faults.longWriteAttempts > 0) {
        --faults.longWriteAttempts;
        return {sense::kLongWriteInProgress};
    }
    if (faults.failWritesFrom != kNoAddress &&
        std::uint64_t{lba} + blocks > faults.failWritesFrom) {
        return {sense::kWriteError};
    }
    const Nanos now = m_clock->Now();
    const bool ranDry = m_buffer.Drain(now);
    if (ranDry && m_state.trackOpen && !m_writeParameters.underrunProtection) {
        // The laser ran out of data in the middle of the track: it is lost.
        const DiscState before = m_state;
        m_state.trackRuined = true;
        m_buffer.EndStream();
        if (!SaveOrRollBack(before, false)) {
            return {sense::kWriteError};
        }
        return {sense::kLossOfStreaming};
    }
    if (!m_buffer.Fits(bytes)) {
        return {sense::kLongWriteInProgress};
    }
    m_buffer.Fill(bytes, now);
    if (m_writeParameters.testWrite) {
        return {sense::kNone, static_cast<std::uint32_t>(bytes)};
    }
    if (!m_image.Write(std::uint64_t{lba} * traits.blockBytes, command.data)) {
        return {sense::kWriteError};
    }
    if (traits.randomWritable) {
        return {sense::kNone, static_cast<std::uint32_t>(bytes)};
    }
    const bool newTrack = !m_state.trackOpen;
    const DiscState before = newTrack ? m_state : DiscState{};
    if (newTrack) {
        m_state.tracks.push_back({m_state.NextTrackNumber(),
                                  m_state.OpenSession(),
                                  lba,
                                  0,
                                  static_cast<std::uint8_t>(traits.cd ? 0 : 4),
                                  {},
                                  {}});
        m_state.trackOpen = true;
    }
    m_state.tracks.back().length += blocks;
    // The open track's length needs no state file update: it ends where the
    // image ends, which the pwrite above has already moved (see Open).
    if (newTrack) {
        if (!SaveOrRollBack(before, true)) {
            return {sense::kWriteError};
        }
    }
    return {sense::kNone, static_cast<std::uint32_t>(bytes)};
}

SenseCode EmulatedDrive::CheckSequentialWrite(std::uint32_t lba, std::uint32_t blocks) {
    if (m_state.complete) {
        return sense::kInvalidWriteAddress;
    }
    if (m_state.Traits().cd) {
        if (m_writeParameters.writeType == kWriteTypeSao) {
            return sense::kSequenceError; // no cue sheet was sent
        }
        if (m_writeParameters.writeType != kWriteTypeTao || !m_writeParameters.Audio()) {
            return sense::kIllegalModeForTrack;
        }
    }
    if (m_state.trackRuined) {
        return sense::kInvalidWriteAddress; // the loss was reported by the write that met it
    }
    if (lba != m_state.NextWritable()) {
        return sense::kInvalidWriteAddress;
    }
    if (std::uint64_t{lba} + blocks > m_state.Capacity()) {
        return sense::kAddressOutOfRange;
    }
    return sense::kNone;
}

EmulatedDrive::Answer EmulatedDrive::SynchronizeCache(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    const bool immediate = (command.cdb.bytes[1] & 0x02) != 0;
    const Nanos now = m_clock->Now();
    m_buffer.Drain(now);
    const Nanos left = m_buffer.EmptyAt() - now;
    m_buffer.EndStream();
    // What a real drive has burned by now is on storage before the answer.
    if (!m_image.Sync()) {
        return {sense::kWriteError};
    }
    if (left > Nanos::zero()) {
        TakeTime(left, immediate, sense::kOperationInProgress);
    }
    return {};
}

EmulatedDrive::Answer EmulatedDrive::CloseTrackSession(const Command& command) {
    if (const SenseCode ready = MediumReady(); !ready.Good()) {
        return {ready};
    }
    if (const SenseCode writable = MediumWritable(); !writable.Good()) {
        return {writable};
    }
    const bool immediate = (command.cdb.bytes[1] & 0x01) != 0;
    const std::uint8_t function = command.cdb.bytes[2] & 0x07;
    if (function != kCloseTrack && function != kCloseSession) {
        return {sense::kInvalidField};
    }
    const DiscState before = m_state;
    // Whatever the buffer still holds is written first.
    const Nanos now = m_clock->Now();
    m_buffer.Drain(now);
    Nanos duration = m_buffer.EmptyAt() - now;
    m_buffer.EndStream();
    SenseCode result;
    if (m_state.Traits().randomWritable) {
        duration += Scaled(kCloseTrackSeconds);
    } else if (function == kCloseTrack) {
        result = CloseTrack(GetBe16(command.cdb.bytes, 4));
        duration += Scaled(kCloseTrackSeconds);
    } else {
        result = CloseSession();
        duration += Scaled(kCloseSessionSeconds);
    }
    if (!result.Good()) {
        m_state = before;
        return {result};
    }
    // The track's blocks reach storage before the state that closes it.
    if (!m_image.Sync()) {
        m_state = before;
        return {sense::kWriteError};
    }
    if (!SaveOrRollBack(before, true)) {
        return {sense::kWriteError};
    }
    TakeTime(duration, immediate, sense::kOperationInProgress);
    return {};
}

SenseCode EmulatedDrive::CloseTrack(std::uint32_t number) {
    if (!m_state.trackOpen) {
        // Closing the empty invisible track, or one already closed, changes nothing.
        const bool known =
            number == m_state.NextTrackNumber() ||
            (number >= 1 && !m_state.tracks.empty() && number <= m_state.tracks.back().number);
        return known ? sense::kNone : sense::kInvalidField;
    }
    if (number != m_state.tracks.back().number) {
        return sense::kInvalidField;
    }
    m_state.trackOpen = false;
    m_state.trackRuined = false;
    if (m_state.tracks.back().length == 0) {
        m_state.tracks.pop_back();
    }
    return sense::kNone;
}

SenseCode EmulatedDrive::CloseSession() {
    if (m_state.trackOpen) {
        (void)CloseTrack(m_state.tracks.back().number);
    }
    if (m_state.complete || m_state.Blank()) {
        return sense::kSequenceError;
    }
    const bool keepOpen = m_writeParameters.multiSession == kMultiSessionOpen;
    if (m_state.OpenSessionHasTracks()) {
        ++m_state.closedSessions;
    } else if (keepOpen) {
        return sense::kNone; // nothing recorded since the last session
    }
    m_state.complete = !keepOpen;
    return sense::kNone;
}

} // namespace quarnel::emu
