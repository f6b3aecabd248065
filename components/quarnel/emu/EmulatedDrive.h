#pragma once
// An emulated CD/DVD writer that answers MMC command blocks the way a real
// drive does and keeps its disc in files in its own folder:
//   drive.ini   what the drive is (DriveSettingsFile.h)
//   disc.state  the disc's state (DiscStateFile.h), replaced atomically
//   disc.bin    the disc's blocks at address × block size
//   disc.cue    for CDs: the sheet describing disc.bin
// Every command brings the files up to date before it returns, so a drive
// object made again from the folder carries on where the last one stopped.
// Other processes may drive the same folder: each command first takes up a
// disc state another process wrote, and while one of them holds the drive
// for writing (SetExclusive), every command of the others gets SCSI status
// BUSY and their loads and ejects fail, as with a real drive opened
// exclusively.
// WRITE only appends to disc.bin (the open track ends where the image ends);
// the state file changes when the disc's structure does.
// Commands may come from several threads; they run one at a time.

#include "components/quarnel/Transport.h"
#include "components/quarnel/emu/Clock.h"
#include "components/quarnel/emu/DiscEventListener.h"
#include "components/quarnel/emu/DiscImageFile.h"
#include "components/quarnel/emu/DiscState.h"
#include "components/quarnel/emu/DriveLock.h"
#include "components/quarnel/emu/DriveSettings.h"
#include "components/quarnel/emu/FileStamp.h"
#include "components/quarnel/emu/WriteBuffer.h"
#include "components/quarnel/emu/WriteParameters.h"
#include "components/quarnel/mmc/SenseCodes.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace quarnel::emu {

inline constexpr const char* kDriveSettingsFileName = "drive.ini";
inline constexpr const char* kDiscStateFileName = "disc.state";
inline constexpr const char* kDiscImageFileName = "disc.bin";
inline constexpr const char* kDiscCueFileName = "disc.cue";

class EmulatedDrive final : public Transport {
public:
    // Opens the drive kept in `folder`. Null (with `error` set when given) when
    // drive.ini is missing or unreadable, or the disc files cannot be opened.
    static std::unique_ptr<EmulatedDrive> Open(const std::filesystem::path& folder,
                                               std::shared_ptr<Clock> clock,
                                               std::string* error = nullptr);

    CommandOutcome Execute(const Command& command) override;
    [[nodiscard]] std::string Name() const override;
    // Holds the drive for this object alone (a take, an erase) or lets it go;
    // false while another process or drive object holds it.
    bool SetExclusive(bool exclusive) override;
    // Takes up a disc state another process wrote, telling the listeners
    // when the disc arrived, left or changed.
    void Refresh();

    // Puts a new blank (unformatted) medium of this kind in and closes the
    // tray; `capacityBlocks` other than 0 makes the disc that short (its last
    // possible lead-out start). False while the tray is locked.
    bool LoadBlank(MediumKind kind, std::uint32_t capacityBlocks = 0);
    // Puts in a pressed CD made from a CUE sheet; false with `error` set when
    // the sheet or its files are unusable or the tray is locked (the old disc
    // then stays).
    bool LoadImage(const std::filesystem::path& cuePath, std::string* error = nullptr);
    // Takes the disc out (tray left open). False while the tray is locked.
    bool RemoveDisc();
    // Another process or drive object holds the drive for writing.
    [[nodiscard]] bool InUseElsewhere();

    void SetFaults(const FaultPlan& faults);
    [[nodiscard]] FaultPlan Faults() const;
    // The drive's top write speed (slow-drive fault); 0 = unlimited.
    void SetMaxWriteSpeed(std::uint32_t speedX);

    void AddListener(DiscEventListener* listener);
    void RemoveListener(DiscEventListener* listener);

    [[nodiscard]] DiscState State() const;
    [[nodiscard]] DriveSettings Settings() const;

private:
    struct Answer {
        SenseCode sense;
        std::uint32_t transferred = 0;
    };
    // Media event codes of GET EVENT STATUS NOTIFICATION, held until reported.
    enum class MediaEvent : std::uint8_t { None = 0, NewMedia = 2, MediaRemoval = 3 };
    struct BusyWindow {
        Nanos start{};
        Nanos end{};
        SenseCode sense;
    };

    EmulatedDrive(std::filesystem::path folder, std::shared_ptr<Clock> clock,
                  DriveSettings settings, DiscState state);

    Answer Dispatch(const Command& command);
    static Answer Reply(const Command& command, std::span<const std::uint8_t> bytes,
                        std::uint32_t allocation);
    // Not ready, no medium, busy, or kNone when medium commands may run.
    [[nodiscard]] SenseCode MediumReady();
    // kNone when the medium is writable and this drive can write it.
    [[nodiscard]] SenseCode MediumWritable() const;
    [[nodiscard]] bool Busy();
    [[nodiscard]] std::uint16_t BusyProgress() const;
    // Holds the command (no Immed) or reports busy until then (Immed).
    void TakeTime(Nanos duration, bool immediate, SenseCode whileBusy);
    [[nodiscard]] Nanos Scaled(double seconds) const;
    void ConfigureBuffer();
    void RecoverOpenTrack();
    // False when the files could not be written: the drive can no longer
    // promise that a re-created object continues from here.
    [[nodiscard]] bool SaveState(bool rewriteCue);
    // Saves the state; when that fails, puts `before` back so that the drive
    // stays as its files say.
    [[nodiscard]] bool SaveOrRollBack(const DiscState& before, bool rewriteCue);
    [[nodiscard]] bool ChangeDisc(DiscState state);
    void QueueEvent(DiscEventKind kind);
    // Reads disc.state again when another writer replaced it (EmulatedDriveSharing.cpp).
    void RefreshFromFiles();
    // Remembers disc.state as this object last read or wrote it.
    void NoteStateFile();
    // Hands queued events to the listeners, outside the lock.
    void DeliverEvents();

    // Status and identity (EmulatedDriveInfo.cpp).
    Answer TestUnitReady();
    Answer RequestSense(const Command& command);
    Answer Inquiry(const Command& command);
    Answer GetConfiguration(const Command& command);
    Answer ModeSense(const Command& command);
    Answer ModeSelect(const Command& command);
    // Before and while writing (EmulatedDriveQueries.cpp).
    Answer GetEventStatus(const Command& command);
    Answer ReadBufferCapacity(const Command& command);
    Answer ReadFormatCapacities(const Command& command);
    Answer GetPerformance(const Command& command);
    // The disc's layout (EmulatedDriveToc.cpp).
    Answer ReadDiscInformation(const Command& command);
    Answer ReadTrackInformation(const Command& command);
    Answer ReadToc(const Command& command);
    // Reading blocks (EmulatedDriveRead.cpp).
    Answer ReadCd(const Command& command);
    Answer ReadCapacity(const Command& command);
    Answer ReadSubChannel(const Command& command);
    // Recording (EmulatedDriveWrite.cpp).
    Answer SendOpc(const Command& command);
    Answer ReserveTrack(const Command& command);
    Answer Write(const Command& command);
    SenseCode CheckSequentialWrite(std::uint32_t lba, std::uint32_t blocks);
    Answer SynchronizeCache(const Command& command);
    Answer CloseTrackSession(const Command& command);
    SenseCode CloseTrack(std::uint32_t number);
    SenseCode CloseSession();
    // Erasing and the tray (EmulatedDriveMedium.cpp).
    Answer Blank(const Command& command);
    Answer FormatUnit(const Command& command);
    Answer PreventAllow(const Command& command);
    Answer StartStop(const Command& command);
    Answer SetCdSpeed(const Command& command);

    const std::filesystem::path m_folder;
    const std::shared_ptr<Clock> m_clock;
    DriveSettings m_settings;
    DiscState m_state;
    DiscImageFile m_image;
    WriteParameters m_writeParameters;
    WriteBuffer m_buffer;
    std::uint32_t m_writeSpeedX = 0;
    bool m_readingSlowest = false; // SET CD SPEED asked for 1x reading
    SenseCode m_lastSense;
    MediaEvent m_mediaEvent = MediaEvent::None;
    bool m_unitAttention = false;    // a disc change not yet reported to a command
    Nanos m_readyAt{};               // "becoming ready" until then
    std::uint32_t m_lastReadLba = 0; // where READ SUB-CHANNEL finds the head
    std::map<std::uint32_t, std::uint32_t> m_unstableReadings; // block -> times read
    BusyWindow m_busy;
    std::vector<DiscEventListener*> m_listeners;
    std::vector<DiscEvent> m_pendingEvents;
    DriveLock m_lock;
    std::optional<FileStamp> m_stateStamp;
    mutable std::mutex m_mutex;
};

} // namespace quarnel::emu
