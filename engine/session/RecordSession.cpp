#include "engine/session/RecordSession.h"

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "engine/session/ReadoutText.h"
#include "engine/session/RunningTake.h"
#include "engine/session/SessionMessages.h"
#include "engine/session/SessionState.h"
#include "lang/LangText.h"
#include "util/FileExists.h"
#include "util/ThreadName.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <utility>

namespace engine {

namespace {

constexpr unsigned kRecordTimerMs = 1000;
constexpr unsigned kKibShift = 10;
constexpr unsigned kMibShift = 20;

// The file kind of an output path: upper-cased, blanks trimmed at both ends,
// the last four characters ".MP3" or ".WAV"; anything else is none.
std::int32_t FileKindOf(const std::string& path) {
    std::string text = path;
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    text = first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
    if (text.size() < 4) {
        return kFileTypeNone;
    }
    const std::string ending = text.substr(text.size() - 4);
    if (ending == ".MP3") {
        return kFileTypeMp3;
    }
    return ending == ".WAV" ? kFileTypeWav : kFileTypeNone;
}

// The Stop pause leaves the capture callback time to notice the end of the
// take; this makes it certain. Callbacks run one after another and hand their
// buffer to the sink before the ring, and the ring publishes its total with
// release ordering: once two more buffers reached the ring after `mark`, the
// callback that may still have been feeding the sink has returned, and all it
// did happened before this thread goes on. With capture not running the wait
// gives up after a bound.
void WaitForCaptureToPass(const CaptureMark& mark) {
    constexpr std::uint64_t kBuffers = 2;
    constexpr int kMaxPolls = 200;
    constexpr unsigned kPollMs = 5;
    for (int poll = 0; poll < kMaxPolls; ++poll) {
        if (CapturedBetween(mark, MarkCapture()) >= kBuffers * kCaptureBufferBytes) {
            return;
        }
        PauseMs(kPollMs);
    }
}

// The folder of a path, up to and including its last '/'; "." for a bare name.
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
}

} // namespace

RecordSession::RecordSession(ISessionView& view, SessionPauses pauses)
    : m_view(view), m_pauses(pauses), m_cdWriter(view, m_pauses, m_recordedSectors),
      m_mp3Take(m_recordEncoder, m_pauses) {}

RecordSession::~RecordSession() {
    StopRecording();
    if (m_writerThread.joinable()) {
        m_writerThread.join();
    }
}

void RecordSession::StartRecordingFrom(std::uint64_t captureByte) {
    m_startByte = captureByte;
    StartRecording();
}

void RecordSession::StartRecording() {
    const std::uint64_t startByte = std::exchange(m_startByte, kNoTakeStartByte);
    State expected = State::Idle;
    if (!m_state.compare_exchange_strong(expected, State::Starting, std::memory_order_acq_rel)) {
        return; // a take runs or is being finished
    }
    if (m_writerThread.joinable()) {
        m_writerThread.join(); // the writer of the last take finished it itself
    }
    m_view.StopPlayback();
    if (m_view.RecordSourceCount() <= 0) {
        ShowSessionMessage(kMsgNoRecordSource);
        m_state.store(State::Idle, std::memory_order_release);
        return;
    }
    // No queue has a consumer between takes.
    g_cdQueue.ResetClippedSamples();
    g_mp3Queue.ResetClippedSamples();
    m_wavClips.Begin();
    if (!PrepareRecording()) {
        m_state.store(State::Idle, std::memory_order_release);
        return;
    }
    m_recordedSectors.store(0, std::memory_order_relaxed);
    m_writerEnding.store(CdTrackWriter::Ending::Stopped, std::memory_order_relaxed);
    g_takeBytesCaptured.store(0, std::memory_order_relaxed);
    g_takeLimitBytes.store(m_soundLimitBytes, std::memory_order_relaxed);
    g_preRecordBytes.store(m_preRecordBytes, std::memory_order_relaxed);
    g_takeStartByte.store(startByte, std::memory_order_relaxed);
    m_soundWatch.Begin();
    // Release: the callback that sees the take running sees its sink, its
    // limit and the pre-record it is to hand over first.
    g_notRecording.store(false, std::memory_order_release);
    // The timer runs for CD takes too: there it only watches for sound.
    m_view.StartRecordTimer(kRecordTimerMs);
    if (!g_toFile.load(std::memory_order_relaxed)) {
        m_writerThread = std::thread([this] {
            util::NameThisThread("writer");
            CdWriterThread();
        });
    }
    m_view.SetControlsRecording(true);
    m_state.store(State::Recording, std::memory_order_release);
}

void RecordSession::StopRecording() {
    if (ClaimStop()) {
        FinishClaimedTake(false);
        m_state.store(State::Idle, std::memory_order_release);
    }
}

bool RecordSession::ClaimStop() {
    for (;;) {
        State expected = State::Recording;
        if (m_state.compare_exchange_strong(expected, State::Stopping, std::memory_order_acq_rel)) {
            return true;
        }
        if (expected != State::Starting) {
            return false;
        }
        PauseMs(1); // Start is still switching the controls
    }
}

void RecordSession::FinishClaimedTake(bool onWriterThread) {
    const CaptureMark mark = MarkCapture();
    g_notRecording.store(true, std::memory_order_release);
    PauseMs(m_pauses.stopMs);
    WaitForCaptureToPass(mark);
    const bool toCd = !g_toFile.load(std::memory_order_relaxed);
    if (toCd) {
        // Everything captured up to Stop is queued: ending the stream lets
        // the writer drain it, pad a short track and end.
        g_cdQueue.SetStop(true);
        if (!onWriterThread && m_writerThread.joinable()) {
            m_writerThread.join();
        }
        if (m_writerEnding.load(std::memory_order_acquire) == CdTrackWriter::Ending::DiscFull) {
            g_closeDisc.store(true, std::memory_order_relaxed); // a full disc is always closed
        }
    }
    FinishRecording();
    if (toCd) {
        g_cdQueue.Reset(); // what a writer that gave up left: nothing reaches the next take
    }
    m_view.SetControlsRecording(false);
    m_view.KillRecordTimer();
    if (toCd) {
        ReportWriterEnding();
    }
}

void RecordSession::ReportWriterEnding() {
    switch (m_writerEnding.load(std::memory_order_acquire)) {
    case CdTrackWriter::Ending::Stopped:
        break;
    case CdTrackWriter::Ending::WriteFailed:
        // After the join or on the writer thread itself: the failure is complete.
        ShowSessionMessage(kMsgWriteFailed, m_cdWriter.WriteFailure());
        break;
    case CdTrackWriter::Ending::CannotKeepUp:
        ShowSessionMessage(kMsgDriveTooSlow);
        break;
    case CdTrackWriter::Ending::DiscFull:
        ShowSessionMessage(kMsgDiscFull);
        break;
    }
}

void RecordSession::CdWriterThread() {
    const CdTrackWriter::Ending ending = m_cdWriter.WriteTrack();
    // Release: the thread that finishes the take reads it after the join or
    // after its claim.
    m_writerEnding.store(ending, std::memory_order_release);
    if (ending == CdTrackWriter::Ending::Stopped || !ClaimStop()) {
        return; // the thread that stopped the take finishes it and reports the ending
    }
    FinishClaimedTake(true);
    m_state.store(State::Idle, std::memory_order_release);
}

bool RecordSession::PrepareRecording() {
    if (m_view.IsToFileChecked()) {
        return PrepareFileRecording();
    }
    g_toFile.store(false, std::memory_order_relaxed);
    return m_cdWriter.PrepareCdRecording();
}

bool RecordSession::PrepareFileRecording() {
    g_toFile.store(true, std::memory_order_relaxed);
    g_outputPath = m_view.OutputPathText();
    if (g_outputPath.empty()) {
        ShowSessionMessage(kMsgNoOutputPath);
        return false;
    }
    const std::int32_t kind = FileKindOf(g_outputPath);
    if (kind == kFileTypeNone) {
        ShowSessionMessage(kMsgBadFileType);
        return false;
    }
    g_fileType.store(kind, std::memory_order_relaxed);
    if (!ClearOutputFiles()) {
        return false;
    }
    std::FILE* created = std::fopen(g_outputPath.c_str(), "wb");
    if (created == nullptr) {
        ShowSessionMessage(kMsgWriteFailed);
        return false;
    }
    std::fclose(created);
    g_discFree.store(0, std::memory_order_relaxed);
    g_discTotal.store(0, std::memory_order_relaxed);
    g_wavBytesWritten.store(0, std::memory_order_relaxed);
    ShowVolumeCapacity();
    g_wavQueued.store(m_split.enabled && kind == kFileTypeWav, std::memory_order_relaxed);
    if (m_split.enabled) {
        m_splitFile.Start(g_outputPath, kind == kFileTypeMp3, m_split);
        return true;
    }
    if (kind == kFileTypeMp3) {
        m_mp3Take.Start(g_outputPath);
        return true;
    }
    if (!CreateWavFile(g_outputPath) || !g_wavFile.Open(g_outputPath)) {
        ShowSessionMessage(kMsgWriteFailed); // no take whose sound would go nowhere
        return false;
    }
    RememberRunningTake(g_outputPath);
    return true;
}

bool RecordSession::ClearOutputFiles() {
    // A split take also replaces the further files of an earlier take of
    // that name, so that no old file sits among the new ones.
    const auto exists = [](const std::string& path) { return util::FileExists(path.c_str()); };
    const bool anyExists =
        exists(g_outputPath) || (m_split.enabled && exists(SplitPartPath(g_outputPath, 2)));
    if (!anyExists) {
        return true;
    }
    if (!AskSessionQuestion(kMsgOverwrite)) {
        return false;
    }
    for (unsigned part = 1;; ++part) {
        const std::string path = SplitPartPath(g_outputPath, part);
        if (exists(path) && std::remove(path.c_str()) != 0) {
            ShowSessionMessage(kMsgDeleteFailed);
            return false;
        }
        if (!m_split.enabled || (part > 1 && !exists(SplitPartPath(g_outputPath, part + 1)))) {
            return true;
        }
    }
}

void RecordSession::ShowVolumeCapacity() {
    struct statvfs volume {};
    if (statvfs(FolderOf(g_outputPath).c_str(), &volume) != 0) {
        return; // capacity unknown: both stay 0 and the bar as it is
    }
    const std::uint64_t unit = volume.f_frsize;
    g_discFree.store(static_cast<std::uint32_t>((volume.f_bfree * unit) >> kMibShift),
                     std::memory_order_relaxed);
    g_discTotal.store(static_cast<std::uint32_t>((volume.f_blocks * unit) >> kMibShift),
                      std::memory_order_relaxed);
    m_view.SetCapacityRange(0, 100);
    const int percent = CapacityPercent(g_discTotal.load(std::memory_order_relaxed),
                                        g_discFree.load(std::memory_order_relaxed));
    if (percent >= 0) {
        m_view.SetCapacityPos(percent);
    }
}

bool RecordSession::FinishRecording() {
    if (!g_toFile.load(std::memory_order_relaxed)) {
        m_cdWriter.FinishCdTrack();
    } else if (m_split.enabled) {
        m_splitFile.Finish();
    } else if (g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3) {
        m_mp3Take.Finish();
    } else {
        g_wavFile.Close();
        PatchWavSizes(g_outputPath);
        m_wavClips.Scan(g_outputPath);
        ForgetRunningTake();
    }
    return true;
}

bool RecordSession::FileWriteFailed() const {
    if (m_split.enabled) {
        return m_splitFile.Failed();
    }
    if (g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3) {
        return m_recordEncoder.Encode_GetError() != CAuEncode::EncodeError::None;
    }
    return g_wavFile.WriteError() != 0;
}

void RecordSession::OnRecordTimer() {
    if (m_state.load(std::memory_order_acquire) != State::Recording) {
        return;
    }
    const bool soundArrived = m_soundWatch.Look();
    if (!soundArrived) {
        // Said where the time is shown, not in a box: capture reopens the
        // input by itself and the take goes on when sound arrives again.
        m_view.ShowTime(lang::GetLangString("Message", kMsgNoSound));
    }
    if (!g_toFile.load(std::memory_order_relaxed)) {
        return; // the writer thread shows what reached the disc
    }
    if (FileWriteFailed()) {
        // The file keeps what reached it, with its sizes; the take ends here
        // instead of counting on over sound that goes nowhere.
        StopRecording();
        ShowSessionMessage(kMsgWriteFailed);
        return;
    }
    if (g_fileType.load(std::memory_order_relaxed) == kFileTypeWav && !m_split.enabled) {
        m_wavClips.Scan(g_outputPath);
    }
    // The read-outs count the sound that arrived, not the time that passed.
    const auto sectors = static_cast<std::int32_t>(m_soundWatch.ArrivedBytes() /
                                                   quarnel::CDevCmdROM::kAudioSectorBytes);
    m_recordedSectors.store(sectors, std::memory_order_relaxed);
    if (soundArrived) {
        m_view.ShowTime(m_split.enabled ? FormatTime(sectors, m_splitFile.Part())
                                        : FormatTime(sectors));
    }
    const bool mp3 = g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3;
    const std::uint32_t mp3Bytes = m_split.enabled
                                       ? static_cast<std::uint32_t>(m_splitFile.FileBytes())
                                       : m_recordEncoder.Encode_GetCurrMp3FileLen();
    const std::uint32_t kib =
        mp3 ? mp3Bytes >> kKibShift
            : static_cast<std::uint32_t>(m_soundWatch.ArrivedBytes() >> kKibShift);
    m_view.ShowLength(FormatLength(kib));
    const std::uint32_t usedMib =
        mp3 ? kib >> kKibShift : g_wavBytesWritten.load(std::memory_order_relaxed) >> kMibShift;
    const std::uint32_t total = g_discTotal.load(std::memory_order_relaxed);
    const std::uint32_t free = g_discFree.load(std::memory_order_relaxed);
    const int percent = CapacityPercent(total, free - usedMib);
    if (percent >= 0) {
        m_view.SetCapacityPos(percent);
    }
}

void RecordSession::OnExit() {
    if (g_hWaveIn != nullptr) {
        CloseCapture();
    }
    m_view.EndMainDialog();
}

void RecordSession::SetPreRecordSeconds(unsigned seconds) {
    m_preRecordBytes = std::min(seconds, kMaxPreRecordSeconds) * kPcmBytesPerSecond;
}

void RecordSession::SetSplit(const SplitSettings& settings) {
    m_split = settings;
    m_cdWriter.SetSplit(settings);
}

void RecordSession::SetSoundLimitSeconds(unsigned seconds) {
    m_soundLimitBytes = seconds == 0 ? kNoTakeLimit : std::uint64_t{seconds} * kPcmBytesPerSecond;
}

std::uint64_t RecordSession::CapturedBytes() const {
    return g_takeBytesCaptured.load(std::memory_order_acquire);
}

std::uint64_t RecordSession::ClippedSamples() const {
    if (!g_toFile.load(std::memory_order_relaxed)) {
        return g_cdQueue.GetClippedSamples();
    }
    // A split file take, WAV too, passes every sample through the file queue.
    return g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3 || m_split.enabled
               ? g_mp3Queue.GetClippedSamples()
               : m_wavClips.Total();
}

bool RecordSession::IsRecording() const {
    return m_state.load(std::memory_order_acquire) != State::Idle;
}

std::uint32_t RecordSession::GapSeconds() const {
    return m_soundWatch.GapSeconds();
}

std::int32_t RecordSession::RecordedSectors() const {
    return m_recordedSectors.load(std::memory_order_relaxed);
}

} // namespace engine
