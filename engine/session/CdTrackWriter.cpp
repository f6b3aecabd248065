#include "engine/session/CdTrackWriter.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "disc/DriveChecks.h"
#include "disc/LeftOpenTrack.h"
#include "engine/RecordingState.h"
#include "engine/session/DiscTime.h"
#include "engine/session/ReadoutText.h"
#include "engine/session/SessionMessages.h"
#include "engine/session/SessionState.h"
#include "engine/session/SilenceSplitter.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace engine {

namespace {

constexpr std::uint8_t kDiscStatusMask = 0x03;
constexpr std::uint8_t kDiscStatusComplete = 2;
constexpr std::size_t kLastTrackLastSessionByte = 6;
constexpr std::size_t kLastLeadOutByte = 20;
// A drive that never becomes ready again (taken away while finishing) is
// given up after this many looks, so that finishing cannot hang.
constexpr int kMaxReadyPolls = 600;

constexpr std::uint32_t kFrameBytes = 4;

// Keeps the first failure of a finishing step: the command and its sense.
void NoteFailure(std::string& failure, const char* command, std::uint32_t result) {
    if (result != 0 && failure.empty()) {
        failure = std::string(command) + ": " + quarnel::status::Text(result);
    }
}

CdTrackWriter::Ending EndingOf(CdTrackWriter::WriteResult result) {
    switch (result) {
    case CdTrackWriter::WriteResult::Failed:
        return CdTrackWriter::Ending::WriteFailed;
    case CdTrackWriter::WriteResult::DiscFull:
        return CdTrackWriter::Ending::DiscFull;
    default:
        return CdTrackWriter::Ending::CannotKeepUp;
    }
}

std::uint32_t LastLeadOutAddress(const quarnel::DISC_INFO& info) {
    return DiscTimeToAddress(info.raw[kLastLeadOutByte], info.raw[kLastLeadOutByte + 1],
                             info.raw[kLastLeadOutByte + 2], info.raw[kLastLeadOutByte + 3]);
}

} // namespace

CdTrackWriter::CdTrackWriter(ISessionView& view, const SessionPauses& pauses,
                             std::atomic<std::int32_t>& recordedSectors)
    : m_view(view), m_pauses(pauses), m_recordedSectors(recordedSectors) {}

bool CdTrackWriter::PrepareCdRecording() {
    m_pDevice = m_view.CurrentDevice();
    m_pWriter = nullptr;
    if (m_pDevice == nullptr) {
        ShowSessionMessage(kMsgNoRecordableDevice);
        return false;
    }
    // The drive is this take's alone from here on. A drive another program
    // (or another Sondrel) writes or erases with answers nothing else, so
    // this comes first.
    if (m_pDevice->LockVolumn(true) != 0) {
        ShowSessionMessage(kMsgDriveInUse);
        return false;
    }
    if (!PrepareHeldDrive()) {
        m_pDevice->LockVolumn(false);
        m_pWriter = nullptr;
        return false;
    }
    m_pWriter->Lock(true);
    g_cdQueue.SetStop(false);
    return true;
}

bool CdTrackWriter::PrepareHeldDrive() {
    if (!disc::IsWriter(m_pDevice)) {
        return false; // message 16 shown by the check
    }
    m_pWriter = dynamic_cast<quarnel::CDevCmdRW*>(m_pDevice);
    if (m_pWriter == nullptr) {
        ShowSessionMessage(kMsgNoRecordableDevice);
        return false;
    }
    if (!CheckDiscForRecording()) {
        return false;
    }
    m_view.SetCapacityRange(0, 100);
    ShowProgress();
    const bool closeDisc = m_view.IsCloseDiscChecked();
    g_closeDisc.store(closeDisc, std::memory_order_relaxed);
    if (m_pWriter->SetWriteParam(quarnel::WriteParam::AudioTrackAtOnce(!closeDisc)) != 0) {
        ShowSessionMessage(kMsgWriteParams);
        return false;
    }
    unsigned long next = 0;
    if (m_pWriter->GetNextWriteAdd(next) != 0) {
        ShowSessionMessage(kMsgWriteAddress);
        return false;
    }
    m_nextWriteAddress = static_cast<std::uint32_t>(next);
    // The slowest speed the drive offers (it rounds the 1x asked for up to
    // its lowest): sound arrives at 1x, and a slow laser lets the drive's
    // buffer last longest. A drive that refuses keeps its speed.
    m_pWriter->SetLowestWriteSpeed();
    return true;
}

bool CdTrackWriter::CheckDiscForRecording() {
    // TEST UNIT READY has waited out a disc spinning up; a drive still not
    // ready keeps its tray as it is (opening it could throw out a disc that
    // is only slow to start).
    if (m_pDevice->TestUnitReady() != 0) {
        ShowSessionMessage(kMsgNotReady);
        return false;
    }
    const quarnel::MEDIUM_TYPE medium = m_pDevice->GetMediumType();
    if (medium != quarnel::MEDIUM_CD_R && medium != quarnel::MEDIUM_CD_RW) {
        ShowSessionMessage(kMsgWrongDisc);
        return false;
    }
    // Before the disc is read: closing a track left open changes the track
    // number of this take.
    disc::CloseLeftOpenTrack(*m_pWriter);
    quarnel::DISC_INFO info{};
    if (m_pDevice->ReadDiscInfo(info) != 0) {
        ShowSessionMessage(kMsgDiscInfo);
        return false;
    }
    if ((info.raw[2] & kDiscStatusMask) == kDiscStatusComplete) {
        ShowSessionMessage(kMsgDiscClosed);
        return false;
    }
    g_trackNumber.store(info.raw[kLastTrackLastSessionByte], std::memory_order_relaxed);
    std::uint32_t total = 0;
    std::uint32_t free = 0;
    if (!GetDiscCapacity(total, free)) {
        ShowSessionMessage(kMsgCapacity);
        return false;
    }
    g_discTotal.store(total, std::memory_order_relaxed);
    g_discFree.store(free, std::memory_order_relaxed);
    if (total < free) { // the next writable address lies beyond the usable end
        ShowSessionMessage(kMsgNoSpace);
        return false;
    }
    return true;
}

bool CdTrackWriter::GetDiscCapacity(std::uint32_t& total, std::uint32_t& free) {
    quarnel::DISC_INFO info{};
    if (m_pDevice->ReadDiscInfo(info) != 0) {
        return false;
    }
    if ((info.raw[2] & kDiscStatusMask) != 0) {
        const std::uint32_t leadOut = LastLeadOutAddress(info);
        unsigned long next = 0;
        if (m_pWriter == nullptr || m_pWriter->GetNextWriteAdd(next) != 0) {
            return false;
        }
        total = leadOut - kReservedEndSectors;
        free = total - static_cast<std::uint32_t>(next);
        return true;
    }
    quarnel::TRACK_INFO track{};
    const std::uint32_t leadOut =
        m_pDevice->ReadTrackInfoEx(track, quarnel::TRACK_INFO_BY_TRACK, 1) == 0
            ? track.size
            : LastLeadOutAddress(info);
    total = leadOut - kReservedEndSectors;
    free = total;
    return true;
}

CdTrackWriter::Ending CdTrackWriter::WriteTrack() {
    std::vector<std::uint8_t> buffer(kCaptureBufferBytes);
    std::uint32_t address = m_nextWriteAddress;
    m_trackSectors = 0;
    std::optional<SilenceSplitter> splitter;
    if (m_split.enabled) {
        splitter.emplace(m_split, SilenceSplitter::kSectorFrames);
    }
    bool firstWrite = true;
    for (std::uint32_t taken = 0; (taken = NextChunk(buffer.data(), firstWrite)) > 0;) {
        firstWrite = false;
        const WriteResult result =
            WriteChunk(address, buffer.data(), taken, splitter ? &*splitter : nullptr);
        if (result != WriteResult::Written) {
            return EndingOf(result);
        }
        if (DiscIsFull(address)) {
            return Ending::DiscFull;
        }
    }
    // A track that holds sound but is shorter than four seconds is padded
    // with silence: writers refuse to close shorter audio tracks.
    std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
    while (m_trackSectors > 0 && m_trackSectors < kMinTrackSectors && !DiscIsFull(address)) {
        const int sectors = std::min<int>(kSectorsPerWrite, kMinTrackSectors - m_trackSectors);
        const WriteResult result = WriteSectors(address, buffer.data(), sectors);
        if (result != WriteResult::Written) {
            return EndingOf(result);
        }
    }
    return Ending::Stopped;
}

CdTrackWriter::WriteResult CdTrackWriter::WriteChunk(std::uint32_t& address, std::uint8_t* buffer,
                                                     std::uint32_t taken,
                                                     SilenceSplitter* splitter) {
    if (splitter == nullptr) {
        return WriteSectors(address, buffer, kSectorsPerWrite);
    }
    // The buffer's frames are aligned for 16-bit samples.
    const auto* samples = reinterpret_cast<const std::int16_t*>(buffer);
    const std::size_t frames = taken / kFrameBytes;
    const std::optional<std::size_t> kept = splitter->Feed(samples, frames);
    if (!kept) {
        return WriteSectors(address, buffer, kSectorsPerWrite);
    }
    // Track boundaries are whole sectors from the track's start, as chunks are.
    const auto before = static_cast<int>(*kept / SilenceSplitter::kSectorFrames);
    WriteResult result = before > 0 ? WriteSectors(address, buffer, before) : WriteResult::Written;
    if (result == WriteResult::Written) {
        result = StartNextTrack(address);
    }
    if (result != WriteResult::Written) {
        return result;
    }
    // The rest is far shorter than the shortest track: no end in it.
    (void)splitter->Feed(samples + 2 * *kept, frames - *kept);
    return WriteSectors(address, buffer + static_cast<std::size_t>(before) * kCdAudioSectorBytes,
                        kSectorsPerWrite - before);
}

CdTrackWriter::WriteResult CdTrackWriter::StartNextTrack(std::uint32_t& address) {
    m_failure = CloseTrackBeingWritten();
    if (!m_failure.empty()) {
        return WriteResult::Failed;
    }
    g_trackNumber.fetch_add(1, std::memory_order_relaxed);
    unsigned long next = 0;
    const std::uint32_t status = m_pWriter->GetNextWriteAdd(next);
    if (status != 0) {
        m_failure = "READ TRACK INFORMATION: " + quarnel::status::Text(status);
        return WriteResult::Failed;
    }
    // The drive may leave a gap before the next track: the free count
    // follows the address it gives.
    address = static_cast<std::uint32_t>(next);
    const std::uint32_t total = g_discTotal.load(std::memory_order_relaxed);
    g_discFree.store(address < total ? total - address : 0, std::memory_order_relaxed);
    m_trackSectors = 0;
    ShowProgress();
    return DiscIsFull(address) ? WriteResult::DiscFull : WriteResult::Written;
}

std::uint32_t CdTrackWriter::NextChunk(std::uint8_t* buffer, bool firstWrite) {
    const std::uint32_t wanted = firstWrite ? kStartReserveBytes : kCaptureBufferBytes;
    for (;;) {
        // Ended first: once it is seen, the waiting count is final.
        const bool ended = g_cdQueue.IsEnded();
        const std::uint64_t waiting = g_cdQueue.GetWaitingBytes();
        if (ended && waiting == 0) {
            return 0;
        }
        if (ended || waiting >= wanted) {
            break;
        }
        PauseMs(m_pauses.queuePollMs);
    }
    std::fill(buffer, buffer + kCaptureBufferBytes, std::uint8_t{0});
    std::uint32_t length = kCaptureBufferBytes;
    // Enough is waiting (or the stream has ended), so this returns at once.
    return g_cdQueue.GetData(buffer, &length) ? length : 0;
}

CdTrackWriter::WriteResult CdTrackWriter::WriteSectors(std::uint32_t& address, std::uint8_t* buffer,
                                                       int sectors) {
    const WriteResult result = WriteWithRetries(address, buffer, sectors);
    if (result != WriteResult::Written) {
        return result;
    }
    m_recordedSectors.fetch_add(sectors, std::memory_order_relaxed);
    m_trackSectors += sectors;
    address += static_cast<std::uint32_t>(sectors);
    g_discFree.fetch_sub(static_cast<std::uint32_t>(sectors), std::memory_order_relaxed);
    ShowProgress();
    return result;
}

bool CdTrackWriter::DiscIsFull(std::uint32_t address) const {
    return g_discFree.load(std::memory_order_relaxed) == 0 ||
           address >= g_discTotal.load(std::memory_order_relaxed);
}

CdTrackWriter::WriteResult CdTrackWriter::WriteWithRetries(std::uint32_t address,
                                                           std::uint8_t* buffer, int sectors) {
    std::uint32_t result = WriteOnce(address, buffer, sectors);
    if (result == 0) {
        return WriteResult::Written;
    }
    // The drive is busy (its buffer is full, or it still works on something):
    // the same write again at short intervals while the queue takes the
    // sound, until a drive that stays busy is given up. The sense judged is
    // the one this write brought back, not whatever another thread's command
    // left with the drive since.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(m_pauses.busyDeadlineMs);
    while (quarnel::status::Is(result, quarnel::sense::kLongWriteInProgress) ||
           quarnel::status::Is(result, quarnel::sense::kOperationInProgress)) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return WriteResult::CannotKeepUp;
        }
        PauseMs(m_pauses.busyRetryMs);
        result = WriteOnce(address, buffer, sectors);
        if (result == 0) {
            return WriteResult::Written;
        }
    }
    if (quarnel::status::Is(result, quarnel::sense::kLossOfStreaming)) {
        return WriteResult::CannotKeepUp; // the laser ran dry: the track is lost from here
    }
    for (int attempt = 0; attempt < kImmediateRetries; ++attempt) {
        result = WriteOnce(address, buffer, sectors);
        if (result == 0) {
            return WriteResult::Written;
        }
    }
    m_failure = "WRITE at " + std::to_string(address) + ": " + quarnel::status::Text(result);
    return WriteResult::Failed;
}

std::uint32_t CdTrackWriter::WriteOnce(std::uint32_t address, std::uint8_t* buffer, int sectors) {
    return m_pWriter->Write(
        static_cast<long>(address), buffer,
        static_cast<unsigned long>(sectors) * quarnel::CDevCmdROM::kAudioSectorBytes, sectors);
}

void CdTrackWriter::ShowProgress() {
    const std::int32_t sectors = m_recordedSectors.load(std::memory_order_relaxed);
    constexpr unsigned kKibShift = 10;
    m_view.ShowTime(m_split.enabled
                        ? FormatTime(sectors, g_trackNumber.load(std::memory_order_relaxed))
                        : FormatTime(sectors));
    m_view.ShowLength(FormatLength(
        (static_cast<std::uint32_t>(sectors) * quarnel::CDevCmdROM::kAudioSectorBytes) >>
        kKibShift));
    const int percent = CapacityPercent(g_discTotal.load(std::memory_order_relaxed),
                                        g_discFree.load(std::memory_order_relaxed));
    if (percent >= 0) {
        m_view.SetCapacityPos(percent);
    }
}

void CdTrackWriter::FinishCdTrack() {
    g_cdQueue.SetStop(true);
    if (m_pWriter == nullptr) {
        return;
    }
    std::string failure = CloseTrackBeingWritten();
    // The box may have been ticked while recording; a full disc has set the flag.
    if (m_view.IsCloseDiscChecked()) {
        g_closeDisc.store(true, std::memory_order_relaxed);
    }
    if (g_closeDisc.load(std::memory_order_relaxed)) {
        // The write parameters decide whether closing the session finalises
        // the disc: a take begun with the session left open (the box ticked
        // later, or the disc full) says so again before the close.
        NoteFailure(failure, "MODE SELECT",
                    m_pWriter->SetWriteParam(quarnel::WriteParam::AudioTrackAtOnce(false)));
        NoteFailure(failure, "CLOSE SESSION", m_pWriter->CloseSession());
    }
    NoteFailure(failure, "CLOSE SESSION", WaitUntilReady(m_pauses.sessionClosePollMs));
    m_pWriter->LockVolumn(false);
    m_pWriter->Lock(false);
    m_pWriter->Eject(true);
    PauseMs(m_pauses.trayOpenMs);
    m_pWriter->Eject(false);
    m_pWriter = nullptr;
    if (!failure.empty()) {
        ShowSessionMessage(kMsgCloseFailed, failure);
    }
}

std::string CdTrackWriter::CloseTrackBeingWritten() {
    std::string failure;
    NoteFailure(failure, "SYNCHRONIZE CACHE", m_pWriter->SynCache());
    NoteFailure(failure, "SYNCHRONIZE CACHE", WaitUntilReady(m_pauses.cacheFlushPollMs));
    NoteFailure(
        failure, "CLOSE TRACK",
        m_pWriter->CloseTrack(static_cast<int>(g_trackNumber.load(std::memory_order_relaxed))));
    return failure;
}

std::uint32_t CdTrackWriter::WaitUntilReady(unsigned pauseMs) {
    std::uint32_t result = m_pWriter->TestUnitReady();
    for (int poll = 0; poll < kMaxReadyPolls && result != 0; ++poll) {
        PauseMs(pauseMs);
        result = m_pWriter->TestUnitReady();
    }
    return result;
}

} // namespace engine
