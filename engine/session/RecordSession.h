#pragma once
// A recording session: turns Record, Stop and Exit into takes. Record checks
// and prepares the chosen sink (a WAV or MP3 file, or the CD in the selected
// drive) and switches the always-running capture over to it; while the take
// runs the session keeps the time, length and capacity read-outs; Stop
// finishes the output. The window (or the terminal) is reached only through
// ISessionView, messages through util::ShowMessageBox.
//
// Threads and stopping. StartRecording, StopRecording, OnRecordTimer and
// OnExit run on the user-interface thread. The CD writer thread stops the
// take itself when the disc fills or a write fails for good. A take is in
// one of four states (idle, starting, recording, stopping); whoever moves it
// from recording to stopping (an atomic exchange) finishes it, and a Stop
// that loses that race returns at once, so the track is never finished
// twice. The writer thread never joins itself: when it finishes the take it
// runs the finishing steps on its own thread and the thread object is joined
// by the next Start or by the destructor. When the user-interface thread
// finishes, it ends the CD feed queue after the Stop pause and joins the
// writer thread, which writes what is still queued and ends; whoever
// finishes the take reports how the writer ended (message 15, 20 or 32), the
// writer thread only after it won the take. Messages with OK alone never wait
// for the user-interface thread (the window's host posts them), so no join
// waits for a message box. Record while a take is stopping is ignored.
//
// The take's sound: the capture callback hands the sink every buffer from the
// first after Record to the last before Stop, preceded by the pre-recorded
// sound (the last seconds captured before Record) when asked for, and at most
// the sound limit when one is set.

#include "components/vesplin/CAuEncode.h"
#include "engine/ISessionView.h"
#include "engine/RecordingState.h"
#include "engine/session/CdTrackWriter.h"
#include "engine/session/Mp3TakeThread.h"
#include "engine/session/SessionPauses.h"
#include "engine/session/SoundWatch.h"
#include "engine/session/SplitFileTake.h"
#include "engine/session/SplitSettings.h"
#include "engine/session/WavClipScan.h"

#include <atomic>
#include <cstdint>
#include <thread>

namespace engine {

class RecordSession {
public:
    explicit RecordSession(ISessionView& view, SessionPauses pauses = {});
    // Stops a running take and waits for its threads.
    ~RecordSession();
    RecordSession(const RecordSession&) = delete;
    RecordSession& operator=(const RecordSession&) = delete;

    void StartRecording();
    // A take that begins at byte `captureByte` of the capture stream (a
    // moment just past, held by the pre-record ring), and the pre-record
    // seconds before it: a take started at a set time or by sound.
    void StartRecordingFrom(std::uint64_t captureByte);
    void StopRecording();
    // Timer 2, every second while a take runs: shows that no sound arrives
    // when none did since the last tick; for a file take it updates the
    // read-outs from the sound that arrived and ends the take with message
    // 15 once a write of its file has failed.
    void OnRecordTimer();
    // Exit: closes capture and ends the main window.
    void OnExit();

    bool PrepareRecording();
    bool FinishRecording();

    // Sound captured before Record that a take begins with: 0 to 10 seconds.
    void SetPreRecordSeconds(unsigned seconds);
    // Takes hold at most this much sound captured after Record; 0: no limit.
    void SetSoundLimitSeconds(unsigned seconds);
    // Takes split into tracks (or files) on silence as `settings` say; set
    // while no take runs.
    void SetSplit(const SplitSettings& settings);
    // Bytes of sound captured after Record handed to the sink in this take.
    [[nodiscard]] std::uint64_t CapturedBytes() const;

    // Samples at full scale in the current or last take, counted exactly
    // where every sample passes: the CD writer's and the MP3 encoder's side
    // of their queues, the WAV file (read back at every record timer tick
    // and at Stop).
    [[nodiscard]] std::uint64_t ClippedSamples() const;

    // True from a successful Start until the take is finished.
    [[nodiscard]] bool IsRecording() const;
    [[nodiscard]] std::int32_t RecordedSectors() const;
    // Seconds of the current or last take in which no sound arrived.
    [[nodiscard]] std::uint32_t GapSeconds() const;

private:
    enum class State { Idle, Starting, Recording, Stopping };

    bool PrepareFileRecording();
    // The take's file, and with splitting its further files, may be written:
    // asks before replacing any and removes them.
    bool ClearOutputFiles();
    // A write of the take's file failed (a full disk, an I/O error): the
    // capture callback or the encoder recorded it in an atomic.
    [[nodiscard]] bool FileWriteFailed() const;
    void ShowVolumeCapacity();
    void CdWriterThread();
    // Moves the take from recording to stopping; false when it is not
    // recording (idle, or someone else stops it). Waits while it is starting.
    bool ClaimStop();
    // The steps of Stop after the claim; `onWriterThread` skips the join.
    void FinishClaimedTake(bool onWriterThread);
    // The message of a CD take the writer could not write whole.
    void ReportWriterEnding();

    ISessionView& m_view;
    SessionPauses m_pauses;
    std::atomic<State> m_state{State::Idle};
    // Written by the writer thread, read by the read-outs.
    std::atomic<std::int32_t> m_recordedSectors{0};
    // Set by the writer thread when its loop ends.
    std::atomic<CdTrackWriter::Ending> m_writerEnding{CdTrackWriter::Ending::Stopped};
    std::uint32_t m_preRecordBytes = 0;
    std::uint64_t m_soundLimitBytes = kNoTakeLimit;
    SplitSettings m_split;
    std::uint64_t m_startByte = kNoTakeStartByte;
    WavClipScan m_wavClips;
    CAuEncode m_recordEncoder;
    CdTrackWriter m_cdWriter;
    Mp3TakeThread m_mp3Take;
    SplitFileTake m_splitFile;
    // User-interface thread (Start and the record timer).
    SoundWatch m_soundWatch;
    std::thread m_writerThread;
};

} // namespace engine
