#include "engine/session/RecordSession.h"

#include "engine/Capture.h"
#include "engine/RecordingState.h"
#include "engine/WavHeader.h"
#include "engine/session/ReadoutText.h"
#include "engine/session/SessionMessages.h"
#include "engine/session/SessionState.h"
#include "util/FileExists.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

namespace engine {

namespace {

constexpr unsigned kRecordTimerMs = 1000;
constexpr std::int32_t kSectorsPerSecond = 75;
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

// How far capture has come: bytes handed to the waveform ring, kept or dropped.
struct CaptureMark {
    std::uint32_t written = 0;
    std::uint64_t dropped = 0;
};

CaptureMark MarkCapture() {
    return {g_waveRing.GetWriteTotal(), g_waveRing.GetDroppedBytes()};
}

// The Stop pause leaves the capture callback time to notice the end of the
// take; this makes it certain. Callbacks run one after another and hand their
// buffer to the ring before the sink, and the ring publishes its total with
// release ordering: once two more buffers reached the ring after `mark`, the
// callback that may still have been feeding the sink has returned, and all it
// did happened before this thread goes on. With capture not running the wait
// gives up after a bound.
void WaitForCaptureToPass(const CaptureMark& mark) {
    constexpr std::uint64_t kBuffers = 2;
    constexpr int kMaxPolls = 200;
    constexpr unsigned kPollMs = 5;
    for (int poll = 0; poll < kMaxPolls; ++poll) {
        const CaptureMark now = MarkCapture();
        const std::uint64_t passed =
            static_cast<std::uint32_t>(now.written - mark.written) + (now.dropped - mark.dropped);
        if (passed >= kBuffers * kCaptureBufferBytes) {
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

void RecordSession::StartRecording() {
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
    if (!PrepareRecording()) {
        m_state.store(State::Idle, std::memory_order_release);
        return;
    }
    m_recordedSectors.store(0, std::memory_order_relaxed);
    // Release: the callback that sees the take running sees its sink.
    g_notRecording.store(false, std::memory_order_release);
    if (g_toFile.load(std::memory_order_relaxed)) {
        m_view.StartRecordTimer(kRecordTimerMs);
    } else {
        m_writerThread = std::thread([this] { CdWriterThread(); });
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
    if (!onWriterThread && m_writerThread.joinable()) {
        m_writerThread.join();
    }
    FinishRecording();
    if (!g_toFile.load(std::memory_order_relaxed)) {
        g_cdQueue.Reset(); // nothing of this take reaches the next one
    }
    m_view.SetControlsRecording(false);
    m_view.KillRecordTimer();
}

void RecordSession::CdWriterThread() {
    const CdTrackWriter::Ending ending = m_cdWriter.WriteTrack();
    if (ending == CdTrackWriter::Ending::Stopped || !ClaimStop()) {
        return; // the thread that stopped the take finishes it
    }
    if (ending == CdTrackWriter::Ending::WriteFailed) {
        ShowSessionMessage(kMsgWriteFailed, m_cdWriter.WriteFailure());
        FinishClaimedTake(true);
    } else {
        g_closeDisc.store(true, std::memory_order_relaxed); // a full disc is always closed
        FinishClaimedTake(true);
        ShowSessionMessage(kMsgDiscFull);
    }
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
    if (util::FileExists(g_outputPath.c_str())) {
        if (!AskSessionQuestion(kMsgOverwrite)) {
            return false;
        }
        if (std::remove(g_outputPath.c_str()) != 0) {
            ShowSessionMessage(kMsgDeleteFailed);
            return false;
        }
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
    if (kind == kFileTypeMp3) {
        m_mp3Take.Start(g_outputPath);
    } else if (CreateWavFile(g_outputPath)) {
        g_wavFile.Open(g_outputPath); // a file that cannot be opened loses the sound silently
    }
    return true;
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
    } else if (g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3) {
        m_mp3Take.Finish();
    } else {
        g_wavFile.Close();
        PatchWavSizes(g_outputPath);
    }
    return true;
}

void RecordSession::OnRecordTimer() {
    if (m_state.load(std::memory_order_acquire) != State::Recording ||
        !g_toFile.load(std::memory_order_relaxed)) {
        return;
    }
    const std::int32_t sectors =
        m_recordedSectors.fetch_add(kSectorsPerSecond, std::memory_order_relaxed) +
        kSectorsPerSecond;
    m_view.ShowTime(FormatTime(sectors));
    const bool mp3 = g_fileType.load(std::memory_order_relaxed) == kFileTypeMp3;
    const std::uint32_t kib =
        mp3 ? m_recordEncoder.Encode_GetCurrMp3FileLen() >> kKibShift
            : (static_cast<std::uint32_t>(sectors) * quarnel::CDevCmdROM::kAudioSectorBytes) >>
                  kKibShift;
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

bool RecordSession::IsRecording() const {
    return m_state.load(std::memory_order_acquire) != State::Idle;
}

std::int32_t RecordSession::RecordedSectors() const {
    return m_recordedSectors.load(std::memory_order_relaxed);
}

} // namespace engine
