#pragma once
// Writes a take onto an audio CD while it is recorded: checks the disc and
// the drive, sets track-at-once audio writing and locks the tray (prepare);
// moves the CD feed queue onto the disc in 16-sector writes at the next
// writable address (WriteTrack, the body of the writer thread); and flushes
// the cache, closes the track (and the session when asked), unlocks the drive
// and cycles the tray (FinishCdTrack).
//
// Threads: PrepareCdRecording and FinishCdTrack run on the thread that
// starts or stops the take; WriteTrack on the writer thread, between them.
// WriteTrack ends by itself when g_notRecording is set; it never stops the
// take itself but tells its caller why it ended, so that the caller decides
// who finishes the track (RecordSession).

#include "components/quarnel/device/CDevCmdRW.h"
#include "engine/ISessionView.h"
#include "engine/session/SessionPauses.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace engine {

class CdTrackWriter {
public:
    enum class Ending {
        Stopped,     // the take was stopped (or the queue ended)
        WriteFailed, // a write failed for good
        DiscFull,    // the last usable sector was written
    };

    // 12,800 sectors at the end of the disc are never used.
    static constexpr std::uint32_t kReservedEndSectors = 12800;
    static constexpr int kSectorsPerWrite = 16;
    static constexpr int kImmediateRetries = 10;

    CdTrackWriter(ISessionView& view, const SessionPauses& pauses,
                  std::atomic<std::int32_t>& recordedSectors);

    // The CD branch of preparing a take, on the drive of the drive selector.
    // Every refusal shows its message and leaves the drive unlocked; a drive
    // another program holds is refused with message 31.
    bool PrepareCdRecording();
    // Readiness, medium, disc status, track number and capacity of the disc.
    bool CheckDiscForRecording();
    // The usable end of the disc and the sectors free before it.
    bool GetDiscCapacity(std::uint32_t& total, std::uint32_t& free);
    // The writer thread's loop.
    Ending WriteTrack();
    // Finishes the track; on the thread that stops the take. A cache flush
    // or close the drive refuses is told to the user (message 30 with the
    // command and its sense).
    void FinishCdTrack();
    // The write that failed for good and what the drive answered, after
    // WriteTrack ended with WriteFailed; read on the writer thread.
    [[nodiscard]] const std::string& WriteFailure() const { return m_failure; }

private:
    enum class WriteResult { Written, Stopped, Failed };

    // The checks and settings of a take on the drive held for it.
    bool PrepareHeldDrive();

    WriteResult WriteWithRetries(std::uint32_t address, std::uint8_t* buffer);
    // The status of one WRITE of the capture buffer.
    std::uint32_t WriteOnce(std::uint32_t address, std::uint8_t* buffer);
    void ShowProgress();
    // The status of the last TEST UNIT READY, after polling until the drive is
    // ready or the polls run out.
    std::uint32_t WaitUntilReady(unsigned pauseMs);

    ISessionView& m_view;
    SessionPauses m_pauses;
    std::atomic<std::int32_t>& m_recordedSectors;
    quarnel::CDevCmdROM* m_pDevice = nullptr;
    quarnel::CDevCmdRW* m_pWriter = nullptr;
    std::uint32_t m_nextWriteAddress = 0;
    std::string m_failure;
};

} // namespace engine
