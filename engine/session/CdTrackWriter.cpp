#include "engine/session/CdTrackWriter.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "disc/DriveChecks.h"
#include "engine/RecordingState.h"
#include "engine/session/DiscTime.h"
#include "engine/session/ReadoutText.h"
#include "engine/session/SessionMessages.h"
#include "engine/session/SessionState.h"

#include <algorithm>
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

// g_notRecording is set by the thread that stops the take; acquire pairs
// with its release store so that a writer that sees it also sees what the
// stopping thread did before.
bool Stopping() {
    return g_notRecording.load(std::memory_order_acquire);
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
    return true;
}

bool CdTrackWriter::CheckDiscForRecording() {
    if (m_pDevice->TestUnitReady() != 0) {
        ShowSessionMessage(kMsgNotReady);
        m_pDevice->Eject(true);
        return false;
    }
    const quarnel::MEDIUM_TYPE medium = m_pDevice->GetMediumType();
    if (medium != quarnel::MEDIUM_CD_R && medium != quarnel::MEDIUM_CD_RW) {
        ShowSessionMessage(kMsgWrongDisc);
        return false;
    }
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
    if (Stopping()) {
        return Ending::Stopped;
    }
    for (;;) {
        if (g_cdQueue.IsFinished()) {
            return Ending::Stopped;
        }
        std::fill(buffer.begin(), buffer.end(), std::uint8_t{0});
        std::uint32_t length = kCaptureBufferBytes;
        if (!g_cdQueue.GetData(buffer.data(), &length)) {
            if (Stopping()) {
                return Ending::Stopped;
            }
            continue; // GetData has paused already
        }
        if (Stopping()) {
            return Ending::Stopped;
        }
        const WriteResult result = WriteWithRetries(address, buffer.data());
        if (result == WriteResult::Stopped) {
            return Ending::Stopped;
        }
        if (result == WriteResult::Failed) {
            return Ending::WriteFailed;
        }
        m_recordedSectors.fetch_add(kSectorsPerWrite, std::memory_order_relaxed);
        address += kSectorsPerWrite;
        g_discFree.fetch_sub(kSectorsPerWrite, std::memory_order_relaxed);
        ShowProgress();
        if (g_discFree.load(std::memory_order_relaxed) == 0 ||
            address >= g_discTotal.load(std::memory_order_relaxed)) {
            return Ending::DiscFull;
        }
        if (Stopping()) {
            return Ending::Stopped;
        }
    }
}

CdTrackWriter::WriteResult CdTrackWriter::WriteWithRetries(std::uint32_t address,
                                                           std::uint8_t* buffer) {
    std::uint32_t result = WriteOnce(address, buffer);
    if (result == 0) {
        return WriteResult::Written;
    }
    // The drive is busy (its buffer is full, or it still works on something):
    // the same write again every 2 s while the queue takes the sound. The
    // busy sense is the one this write brought back, not whatever another
    // thread's command left with the drive since.
    while (!Stopping() && (quarnel::status::Is(result, quarnel::sense::kLongWriteInProgress) ||
                           quarnel::status::Is(result, quarnel::sense::kOperationInProgress))) {
        result = WriteOnce(address, buffer);
        if (result == 0) {
            return WriteResult::Written;
        }
        PauseMs(m_pauses.longWriteRetryMs);
    }
    for (int attempt = 0; attempt < kImmediateRetries; ++attempt) {
        if (Stopping()) {
            return WriteResult::Stopped;
        }
        result = WriteOnce(address, buffer);
        if (result == 0) {
            return WriteResult::Written;
        }
    }
    if (Stopping()) {
        return WriteResult::Stopped;
    }
    m_failure = "WRITE at " + std::to_string(address) + ": " + quarnel::status::Text(result);
    return WriteResult::Failed;
}

std::uint32_t CdTrackWriter::WriteOnce(std::uint32_t address, std::uint8_t* buffer) {
    return m_pWriter->Write(static_cast<long>(address), buffer, kCaptureBufferBytes,
                            kSectorsPerWrite);
}

void CdTrackWriter::ShowProgress() {
    const std::int32_t sectors = m_recordedSectors.load(std::memory_order_relaxed);
    constexpr unsigned kKibShift = 10;
    m_view.ShowTime(FormatTime(sectors));
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
    std::string failure;
    const auto check = [&failure](const char* command, std::uint32_t result) {
        if (result != 0 && failure.empty()) {
            failure = std::string(command) + ": " + quarnel::status::Text(result);
        }
    };
    check("SYNCHRONIZE CACHE", m_pWriter->SynCache());
    check("SYNCHRONIZE CACHE", WaitUntilReady(m_pauses.cacheFlushPollMs));
    check("CLOSE TRACK",
          m_pWriter->CloseTrack(static_cast<int>(g_trackNumber.load(std::memory_order_relaxed))));
    // The box may have been ticked while recording; a full disc has set the flag.
    if (m_view.IsCloseDiscChecked()) {
        g_closeDisc.store(true, std::memory_order_relaxed);
    }
    if (g_closeDisc.load(std::memory_order_relaxed)) {
        // The write parameters decide whether closing the session finalises
        // the disc: a take begun with the session left open (the box ticked
        // later, or the disc full) says so again before the close.
        check("MODE SELECT",
              m_pWriter->SetWriteParam(quarnel::WriteParam::AudioTrackAtOnce(false)));
        check("CLOSE SESSION", m_pWriter->CloseSession());
    }
    check("CLOSE SESSION", WaitUntilReady(m_pauses.sessionClosePollMs));
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

std::uint32_t CdTrackWriter::WaitUntilReady(unsigned pauseMs) {
    std::uint32_t result = m_pWriter->TestUnitReady();
    for (int poll = 0; poll < kMaxReadyPolls && result != 0; ++poll) {
        PauseMs(pauseMs);
        result = m_pWriter->TestUnitReady();
    }
    return result;
}

} // namespace engine
