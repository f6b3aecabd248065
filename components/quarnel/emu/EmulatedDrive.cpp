#include "components/quarnel/emu/EmulatedDrive.h"

#include "components/quarnel/MmcOpcodes.h"
#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CueImageLoader.h"
#include "components/quarnel/emu/CueWriter.h"
#include "components/quarnel/emu/DiscStateCheck.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/FixedSense.h"

#include <algorithm>

namespace quarnel::emu {

namespace {

constexpr double kBytesPerSecond1x = 176'400.0;

// The command block length each operation code group uses.
std::uint8_t CdbLength(std::uint8_t opcode) {
    if (opcode < 0x20) {
        return 6;
    }
    if (opcode < 0x60) {
        return 10;
    }
    return opcode >= 0xA0 && opcode < 0xC0 ? 12 : 0;
}

} // namespace

std::unique_ptr<EmulatedDrive> EmulatedDrive::Open(const std::filesystem::path& folder,
                                                   std::shared_ptr<Clock> clock,
                                                   std::string* error) {
    const auto fail = [error](const std::string& message) {
        if (error != nullptr) {
            *error = message;
        }
        return nullptr;
    };
    std::string readError;
    std::optional<DriveSettings> settings =
        LoadDriveSettings(folder / kDriveSettingsFileName, &readError);
    if (!settings) {
        return fail(!readError.empty() ? readError
                                       : "no readable " + std::string(kDriveSettingsFileName) +
                                             " in " + folder.string());
    }
    DiscState state;
    const std::optional<std::string> text = ReadWholeFile(folder / kDiscStateFileName, &readError);
    if (!readError.empty()) {
        return fail(readError);
    }
    if (text) {
        std::optional<DiscState> parsed = ParseDiscState(*text);
        if (!parsed) {
            return fail("malformed " + std::string(kDiscStateFileName) + " in " + folder.string());
        }
        state = std::move(*parsed);
    }
    std::unique_ptr<EmulatedDrive> drive(
        new EmulatedDrive(folder, std::move(clock), std::move(*settings), std::move(state)));
    if (!drive->m_image.Open(folder / kDiscImageFileName)) {
        return fail("cannot open " + (folder / kDiscImageFileName).string());
    }
    drive->RecoverOpenTrack();
    if (const std::string problem = DiscStateProblem(drive->m_state, drive->m_image.Size());
        !problem.empty()) {
        return fail((folder / kDiscStateFileName).string() + ": " + problem);
    }
    if (drive->m_state.locked && drive->m_state.lockOwner.IsGone()) {
        // The process that locked the tray has ended without unlocking it, as
        // a killed take does; the kernel would have unlocked a real drive.
        drive->m_state.locked = false;
        drive->m_state.lockOwner = {};
    }
    return drive;
}

EmulatedDrive::EmulatedDrive(std::filesystem::path folder, std::shared_ptr<Clock> clock,
                             DriveSettings settings, DiscState state)
    : m_folder(std::move(folder)), m_clock(std::move(clock)), m_settings(std::move(settings)),
      m_state(std::move(state)), m_writeSpeedX(m_settings.writeSpeedX),
      m_lock(m_folder / kDriveLockFileName) {
    ConfigureBuffer();
    NoteStateFile();
}

void EmulatedDrive::RecoverOpenTrack() {
    // Sequential media are written in address order, so the open track (the
    // last thing on the disc) ends with the image: whole blocks that reached
    // the file belong to it, a block cut short by a crash does not.
    if (!m_state.trackOpen || m_state.Traits().blockBytes == 0) {
        return;
    }
    DiscTrack& track = m_state.tracks.back();
    const std::uint64_t end = m_image.Size() / m_state.Traits().blockBytes;
    track.length = end > track.start ? static_cast<std::uint32_t>(end - track.start) : 0;
}

std::string EmulatedDrive::Name() const {
    return m_folder.string();
}

CommandOutcome EmulatedDrive::Execute(const Command& command) {
    CommandOutcome outcome;
    {
        const std::lock_guard lock(m_mutex);
        RefreshFromFiles();
        if (m_lock.HeldElsewhere()) {
            outcome.scsiStatus = kStatusBusy;
        }
    }
    if (outcome.scsiStatus == kStatusBusy) {
        DeliverEvents();
        return outcome;
    }
    {
        const std::lock_guard lock(m_mutex);
        const std::vector<std::uint8_t>& failing = m_settings.faults.failCommands;
        const bool fails =
            std::find(failing.begin(), failing.end(), command.cdb.bytes[0]) != failing.end();
        const Answer answer = fails ? Answer{sense::kInternalTargetFailure} : Dispatch(command);
        outcome.transferred = answer.transferred;
        if (!answer.sense.Good()) {
            outcome.scsiStatus = kStatusCheckCondition;
            // A command refused because the drive is blanking or formatting
            // carries the progress in its sense data too.
            const bool busy = Busy() && answer.sense == m_busy.sense;
            const FixedSenseBytes bytes =
                BuildFixedSense(answer.sense, busy ? std::optional(BusyProgress()) : std::nullopt);
            std::copy(bytes.begin(), bytes.end(), outcome.sense.begin());
            outcome.senseLength = static_cast<std::uint8_t>(bytes.size());
            m_lastSense = answer.sense;
        }
    }
    DeliverEvents();
    return outcome;
}

void EmulatedDrive::DeliverEvents() {
    std::vector<DiscEvent> events;
    std::vector<DiscEventListener*> listeners;
    {
        const std::lock_guard lock(m_mutex);
        events.swap(m_pendingEvents);
        listeners = m_listeners;
    }
    for (const DiscEvent& event : events) {
        for (DiscEventListener* listener : listeners) {
            listener->OnDiscEvent(event);
        }
    }
}

EmulatedDrive::Answer EmulatedDrive::Dispatch(const Command& command) {
    const std::uint8_t opcode = command.cdb.bytes[0];
    const std::uint8_t length = CdbLength(opcode);
    if (length != 0 && command.cdb.length != 0 && command.cdb.length < length) {
        return {sense::kInvalidField};
    }
    // Commands that report on the drive rather than the disc are not held
    // back by a unit attention.
    const bool reportsOnly = opcode == op::kInquiry || opcode == op::kRequestSense ||
                             opcode == op::kGetConfiguration ||
                             opcode == op::kGetEventStatusNotification;
    if (m_unitAttention && !reportsOnly) {
        m_unitAttention = false;
        return {sense::kMediumMayHaveChanged};
    }
    switch (opcode) {
    case op::kTestUnitReady:
        return TestUnitReady();
    case op::kRequestSense:
        return RequestSense(command);
    case op::kInquiry:
        return Inquiry(command);
    case op::kGetConfiguration:
        return GetConfiguration(command);
    case op::kModeSense10:
        return ModeSense(command);
    case op::kModeSelect10:
        return ModeSelect(command);
    case op::kReadDiscInformation:
        return ReadDiscInformation(command);
    case op::kReadTrackInformation:
        return ReadTrackInformation(command);
    case op::kReadTocPmaAtip:
        return ReadToc(command);
    case op::kReadCd:
        return ReadCd(command);
    case op::kReadCapacity:
        return ReadCapacity(command);
    case op::kReadSubChannel:
        return ReadSubChannel(command);
    case op::kGetEventStatusNotification:
        return GetEventStatus(command);
    case op::kReadBufferCapacity:
        return ReadBufferCapacity(command);
    case op::kReadFormatCapacities:
        return ReadFormatCapacities(command);
    case op::kGetPerformance:
        return GetPerformance(command);
    case op::kSendOpc:
        return SendOpc(command);
    case op::kReserveTrack:
        return ReserveTrack(command);
    case op::kWrite10:
        return Write(command);
    case op::kSynchronizeCache:
        return SynchronizeCache(command);
    case op::kCloseTrackSession:
        return CloseTrackSession(command);
    case op::kBlank:
        return Blank(command);
    case op::kFormatUnit:
        return FormatUnit(command);
    case op::kPreventAllowMediumRemoval:
        return PreventAllow(command);
    case op::kStartStopUnit:
        return StartStop(command);
    case op::kSetCdSpeed:
        return SetCdSpeed(command);
    default:
        return {sense::kInvalidCommand};
    }
}

EmulatedDrive::Answer EmulatedDrive::Reply(const Command& command,
                                           std::span<const std::uint8_t> bytes,
                                           std::uint32_t allocation) {
    if (command.direction != DataDirection::FromDevice) {
        return {};
    }
    const std::size_t count =
        std::min({bytes.size(), std::size_t{allocation}, command.data.size()});
    std::copy_n(bytes.begin(), count, command.data.begin());
    return {sense::kNone, static_cast<std::uint32_t>(count)};
}

bool EmulatedDrive::Busy() {
    return m_clock->Now() < m_busy.end;
}

std::uint16_t EmulatedDrive::BusyProgress() const {
    const Nanos total = m_busy.end - m_busy.start;
    const Nanos done = std::clamp(m_clock->Now() - m_busy.start, Nanos::zero(), total);
    if (total <= Nanos::zero()) {
        return 0xFFFF;
    }
    const auto progress = static_cast<std::uint32_t>(static_cast<double>(done.count()) /
                                                     static_cast<double>(total.count()) * 65536.0);
    return static_cast<std::uint16_t>(std::min<std::uint32_t>(progress, 0xFFFF));
}

SenseCode EmulatedDrive::MediumReady() {
    if (m_settings.faults.notReady) {
        return sense::kNotReady;
    }
    if (Busy()) {
        return m_busy.sense;
    }
    if (m_state.trayOpen) {
        return sense::kNoMediumTrayOpen;
    }
    if (!m_state.HasMedium()) {
        return sense::kNoMediumTrayClosed;
    }
    return m_clock->Now() < m_readyAt ? sense::kBecomingReady : sense::kNone;
}

SenseCode EmulatedDrive::MediumWritable() const {
    const DriveCapabilities& caps = m_settings.capabilities;
    bool can = false;
    switch (m_state.medium) {
    case MediumKind::CdR:
        can = caps.cdR;
        break;
    case MediumKind::CdRw:
        can = caps.cdRw;
        break;
    case MediumKind::DvdRw:
        can = caps.dvdRw;
        break;
    case MediumKind::DvdPlusRw:
        can = caps.dvdPlusRw;
        break;
    case MediumKind::DvdRam:
        can = caps.dvdRam;
        break;
    case MediumKind::None:
    case MediumKind::PressedCd:
        break;
    }
    return can ? sense::kNone : sense::kCannotWriteMedium;
}

void EmulatedDrive::TakeTime(Nanos duration, bool immediate, SenseCode whileBusy) {
    if (immediate) {
        const Nanos now = m_clock->Now();
        m_busy = {now, now + duration, whileBusy};
    } else {
        m_clock->SleepFor(duration);
    }
}

Nanos EmulatedDrive::Scaled(double seconds) const {
    return Nanos{static_cast<Nanos::rep>(seconds * m_settings.timeScale * 1e9)};
}

void EmulatedDrive::ConfigureBuffer() {
    // What drained at the old speed is settled before the new one applies.
    (void)m_buffer.Drain(m_clock->Now());
    const bool unlimited = m_writeSpeedX == 0 || m_settings.timeScale <= 0.0;
    const double rate = unlimited ? 0.0 : kBytesPerSecond1x * m_writeSpeedX / m_settings.timeScale;
    m_buffer.Configure(std::uint64_t{m_settings.bufferKib} * 1024, rate);
}

bool EmulatedDrive::SaveState(bool rewriteCue) {
    const bool saved = WriteFileAtomically(m_folder / kDiscStateFileName, FormatDiscState(m_state));
    NoteStateFile();
    if (!saved) {
        return false;
    }
    if (!rewriteCue) {
        return true;
    }
    if (m_state.Traits().cd && !m_state.tracks.empty()) {
        return WriteFileAtomically(m_folder / kDiscCueFileName,
                                   FormatCueSheet(m_state, kDiscImageFileName));
    }
    std::error_code error;
    std::filesystem::remove(m_folder / kDiscCueFileName, error);
    return !error;
}

bool EmulatedDrive::SaveOrRollBack(const DiscState& before, bool rewriteCue) {
    if (SaveState(rewriteCue)) {
        return true;
    }
    m_state = before;
    (void)SaveState(rewriteCue); // the cue sheet may have been replaced already
    return false;
}

void EmulatedDrive::QueueEvent(DiscEventKind kind) {
    m_pendingEvents.push_back({kind, Name()});
    m_mediaEvent = kind == DiscEventKind::Arrived ? MediaEvent::NewMedia : MediaEvent::MediaRemoval;
    m_unitAttention = m_settings.unitAttention;
    if (kind == DiscEventKind::Arrived) {
        // A disc just taken in, by the tray or by a load, spins up first.
        m_readyAt = m_clock->Now() + Scaled(m_settings.spinUpMs / 1000.0);
    }
}

bool EmulatedDrive::ChangeDisc(DiscState state) {
    const DiscState before = m_state;
    state.locked = m_state.locked;
    m_state = std::move(state);
    if (!SaveOrRollBack(before, true)) {
        return false;
    }
    if (before.HasMedium() && !before.trayOpen) {
        QueueEvent(DiscEventKind::Removed);
    }
    m_busy = {};
    m_buffer.EndStream();
    if (m_state.HasMedium() && !m_state.trayOpen) {
        QueueEvent(DiscEventKind::Arrived);
    }
    return true;
}

bool EmulatedDrive::LoadBlank(MediumKind kind, std::uint32_t capacityBlocks) {
    if (kind == MediumKind::None || kind == MediumKind::PressedCd) {
        return false;
    }
    bool changed = false;
    {
        const std::lock_guard lock(m_mutex);
        RefreshFromFiles();
        if (m_state.locked || m_lock.HeldElsewhere()) {
            return false; // the tray stays shut on the disc it holds
        }
        DiscState state;
        state.medium = kind;
        state.imageBlocks = capacityBlocks;
        changed = ChangeDisc(std::move(state)) && m_image.Truncate(0);
    }
    DeliverEvents();
    return changed;
}

bool EmulatedDrive::LoadImage(const std::filesystem::path& cuePath, std::string* error) {
    const std::filesystem::path incoming = m_folder / (std::string(kDiscImageFileName) + ".new");
    CueImageResult loaded = LoadCueImage(cuePath, incoming);
    bool changed = false;
    std::error_code ignored;
    if (!loaded.ok) {
        std::filesystem::remove(incoming, ignored);
        if (error != nullptr) {
            *error = loaded.error;
        }
        return false;
    }
    {
        const std::lock_guard lock(m_mutex);
        RefreshFromFiles();
        if (m_state.locked || m_lock.HeldElsewhere()) {
            std::filesystem::remove(incoming, ignored);
            if (error != nullptr) {
                *error =
                    m_state.locked ? "the tray is locked" : "another program is using the drive";
            }
            return false;
        }
        std::filesystem::rename(incoming, m_folder / kDiscImageFileName, ignored);
        if (ignored || !m_image.Open(m_folder / kDiscImageFileName)) {
            if (error != nullptr) {
                *error = "cannot replace " + (m_folder / kDiscImageFileName).string();
            }
            return false;
        }
        changed = ChangeDisc(std::move(loaded.state));
        if (!changed && error != nullptr) {
            *error = "cannot write the disc state in " + m_folder.string();
        }
    }
    DeliverEvents();
    return changed;
}

bool EmulatedDrive::RemoveDisc() {
    bool changed = false;
    {
        const std::lock_guard lock(m_mutex);
        RefreshFromFiles();
        if (m_state.locked || m_lock.HeldElsewhere()) {
            return false;
        }
        DiscState empty;
        empty.trayOpen = true;
        changed = ChangeDisc(std::move(empty)) && m_image.Truncate(0);
    }
    DeliverEvents();
    return changed;
}

void EmulatedDrive::SetFaults(const FaultPlan& faults) {
    const std::lock_guard lock(m_mutex);
    m_settings.faults = faults;
}

FaultPlan EmulatedDrive::Faults() const {
    const std::lock_guard lock(m_mutex);
    return m_settings.faults;
}

void EmulatedDrive::SetMaxWriteSpeed(std::uint32_t speedX) {
    const std::lock_guard lock(m_mutex);
    m_settings.writeSpeedX = speedX;
    m_writeSpeedX = speedX;
    ConfigureBuffer();
}

void EmulatedDrive::AddListener(DiscEventListener* listener) {
    const std::lock_guard lock(m_mutex);
    m_listeners.push_back(listener);
}

void EmulatedDrive::RemoveListener(DiscEventListener* listener) {
    const std::lock_guard lock(m_mutex);
    std::erase(m_listeners, listener);
}

DiscState EmulatedDrive::State() const {
    const std::lock_guard lock(m_mutex);
    return m_state;
}

DriveSettings EmulatedDrive::Settings() const {
    const std::lock_guard lock(m_mutex);
    return m_settings;
}

} // namespace quarnel::emu
