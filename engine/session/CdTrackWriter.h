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
// WriteTrack writes until the CD feed queue has ended and is drained, so a
// Stop keeps everything queued up to it; it never stops the take itself but
// tells its caller why it ended, so that the caller decides who finishes the
// track (RecordSession).
//
// Pacing for drives without buffer-underrun protection: the take is written
// at the lowest speed the drive offers; the first WRITE waits until about a
// second of sound is queued (or the take was stopped), so that the queue can
// refill the drive's buffer before it runs dry; the queue is looked at every
// queuePollMs; a drive that answers "busy" is asked again every busyRetryMs
// until busyDeadlineMs have passed. A track shorter than the shortest audio
// track a disc may hold is padded with silence before it is closed.
//
// Splitting on silence (SetSplit): the writer thread looks at the sound it
// takes from the queue (SilenceSplitter); where a track ends it writes the
// sectors before the boundary, flushes the drive's cache, closes the track,
// asks for the next writable address (the drive may leave a gap between
// tracks) and goes on with the next track, while capture keeps filling the
// queue. A disc that has no room left for the next track ends the take as a
// full disc does.

#include "components/quarnel/device/CDevCmdRW.h"
#include "engine/ISessionView.h"
#include "engine/session/SessionPauses.h"
#include "engine/session/SplitSettings.h"
#include "util/CdAudioSizes.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace engine {

class SilenceSplitter;

class CdTrackWriter {
public:
    enum class Ending {
        Stopped,      // the queue ended and everything in it was written
        WriteFailed,  // a write failed for good
        CannotKeepUp, // the drive stayed busy too long, or its buffer ran dry
        DiscFull,     // the last usable sector was written
    };

    // 12,800 sectors at the end of the disc are never used.
    static constexpr std::uint32_t kReservedEndSectors = 12800;
    static constexpr int kSectorsPerWrite = 16;
    static constexpr int kImmediateRetries = 10;
    // The shortest audio track: four seconds.
    static constexpr std::int32_t kMinTrackSectors = 300;
    // Sound queued before the first WRITE of a take (five capture buffers).
    static constexpr std::uint32_t kStartReserveBytes = 5 * kCaptureBufferBytes;

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
    // Splitting of the next takes; off unless `settings.enabled`. Set while
    // no take runs.
    void SetSplit(const SplitSettings& settings) { m_split = settings; }
    // The writer thread's loop.
    Ending WriteTrack();
    // Finishes the track; on the thread that stops the take. A cache flush
    // or close the drive refuses is told to the user (message 30 with the
    // command and its sense).
    void FinishCdTrack();
    // The write that failed for good and what the drive answered, after
    // WriteTrack ended with WriteFailed; read on the writer thread.
    [[nodiscard]] const std::string& WriteFailure() const { return m_failure; }

    // How one write (or the start of the next track) went.
    enum class WriteResult { Written, Failed, CannotKeepUp, DiscFull };

private:
    // The checks and settings of a take on the drive held for it.
    bool PrepareHeldDrive();
    // Takes the next chunk of the queue into `buffer` (zero-padded); false
    // once the queue has ended and is drained.
    // The bytes of sound taken (the rest of the buffer is silence).
    std::uint32_t NextChunk(std::uint8_t* buffer, bool firstWrite);
    // Writes a chunk holding `taken` bytes of sound; with a splitter, ends
    // the track inside it where the splitter says.
    WriteResult WriteChunk(std::uint32_t& address, std::uint8_t* buffer, std::uint32_t taken,
                           SilenceSplitter* splitter);
    // Closes the track being written and moves `address` to the next one's
    // start; Written, or why the take cannot go on.
    WriteResult StartNextTrack(std::uint32_t& address);
    // Writes `sectors` sectors and moves the address and the read-outs on.
    WriteResult WriteSectors(std::uint32_t& address, std::uint8_t* buffer, int sectors);
    WriteResult WriteWithRetries(std::uint32_t address, std::uint8_t* buffer, int sectors);
    // The status of one WRITE of `sectors` sectors.
    std::uint32_t WriteOnce(std::uint32_t address, std::uint8_t* buffer, int sectors);
    [[nodiscard]] bool DiscIsFull(std::uint32_t address) const;
    void ShowProgress();
    // Flushes the cache and closes the track; the first failed step and its
    // sense, empty when all went well.
    std::string CloseTrackBeingWritten();
    // The status of the last TEST UNIT READY, after polling until the drive is
    // ready or the polls run out.
    std::uint32_t WaitUntilReady(unsigned pauseMs);

    ISessionView& m_view;
    SessionPauses m_pauses;
    std::atomic<std::int32_t>& m_recordedSectors;
    quarnel::CDevCmdROM* m_pDevice = nullptr;
    quarnel::CDevCmdRW* m_pWriter = nullptr;
    std::uint32_t m_nextWriteAddress = 0;
    SplitSettings m_split;
    // Sectors of the track being written; writer thread.
    std::int32_t m_trackSectors = 0;
    std::string m_failure;
};

} // namespace engine
