#include "disc/DiscEraser.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "disc/DiscMessage.h"
#include "disc/DriveChecks.h"
#include "util/MessageBox.h"

#include <chrono>
#include <string>
#include <vector>

namespace disc {

namespace {

constexpr int kCannotEraseKey = 2;
constexpr int kNotReadyKey = 3;
constexpr int kConfirmKey = 4;
constexpr int kBlankFailedKey = 5;
constexpr int kDvdRamParamKey = 6;
constexpr int kInUseKey = 31;

constexpr int kFormatPollMs = 300;
constexpr int kWorkerPollMs = 200;
constexpr long kZeroSectors = 32;
constexpr long kZeroBytes = kZeroSectors * 2048;
constexpr long kLastZeroAddress = 1600;
// A write the drive answers "long write in progress" (its buffer is full)
// is sent again after this pause, as open burners do, for at most a minute.
constexpr int kBusyWriteRetryMs = 20;
constexpr int kMaxBusyWriteRetries = 3000;
constexpr std::int32_t kBarFullFrom = 1617;
constexpr int kBlankBarLimit = 98;

// Not ready because the drive is still at work (2/04/xx): worth waiting for.
bool StillWorking(std::uint32_t status) {
    return quarnel::status::IsGroup(status, quarnel::sense::kNotReady);
}

bool WriteBusy(std::uint32_t status) {
    return quarnel::status::Is(status, quarnel::sense::kLongWriteInProgress) ||
           quarnel::status::Is(status, quarnel::sense::kOperationInProgress);
}

} // namespace

DiscEraser::DiscEraser(Sleep sleep) : m_sleep(std::move(sleep)) {
    if (!m_sleep) {
        m_sleep = [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); };
    }
}

DiscEraser::~DiscEraser() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

bool DiscEraser::Begin(quarnel::CDevCmdROM* device) {
    if (device == nullptr || m_worker.joinable()) {
        return false;
    }
    // The drive is the erase's alone until it is done; a drive another
    // program writes or erases with answers nothing else, so this comes first.
    if (device->LockVolumn(true) != 0) {
        ShowDiscMessage(kInUseKey);
        return false;
    }
    if (!BeginHeld(device)) {
        device->LockVolumn(false);
        return false;
    }
    return true;
}

bool DiscEraser::BeginHeld(quarnel::CDevCmdROM* device) {
    if (!IsWriter(device)) {
        return false;
    }
    const quarnel::CD_DEV_TYPE type = device->GetDevType();
    m_writer = dynamic_cast<quarnel::CDevCmdRW*>(device);
    if (type == quarnel::DEV_CDROM || type == quarnel::DEV_DVDROM || device->GetDeviceID() == 0 ||
        m_writer == nullptr) {
        ShowDiscMessage(kCannotEraseKey);
        return false;
    }
    if (!IsReady(device)) {
        ShowDiscMessage(kNotReadyKey);
        static_cast<void>(device->Eject(true));
        return false;
    }
    if (ShowDiscMessage(kConfirmKey, util::MB_OKCANCEL) == util::IDCANCEL) {
        return false;
    }
    m_zeroWrite = false;
    switch (m_writer->GetMediumType()) {
    case quarnel::MEDIUM_CD_RW:
    case quarnel::MEDIUM_DVD_RW_RESTRICTED:
    case quarnel::MEDIUM_DVD_RW_SEQUENTIAL:
    case quarnel::MEDIUM_DVD_RW_EITHER:
        if (const std::uint32_t result = m_writer->Blank(quarnel::BLANK_MINIMAL); result != 0) {
            ShowDiscMessage(kBlankFailedKey, "BLANK: " + quarnel::status::Text(result));
            return false;
        }
        return true;
    case quarnel::MEDIUM_DVD_PLUS_RW: {
        std::uint32_t result = m_writer->FormatUnit();
        if (result == 0) {
            result = WaitUntilReady(kFormatPollMs);
        }
        if (result != 0) {
            ShowDiscMessage(kBlankFailedKey, "FORMAT UNIT: " + quarnel::status::Text(result));
            return false;
        }
        return StartMedium();
    }
    case quarnel::MEDIUM_DVD_RAM:
        if (m_writer->SetWriteParam(quarnel::WriteParam::DvdRamErase()) != 0) {
            ShowDiscMessage(kDvdRamParamKey);
            return false;
        }
        return StartMedium();
    default:
        ShowDiscMessage(kCannotEraseKey);
        return false;
    }
}

bool DiscEraser::StartMedium() {
    m_zeroWrite = true;
    m_failure.clear();
    m_counter.store(0, std::memory_order_release);
    m_worker = std::thread(&DiscEraser::ZeroWrite, this);
    return true;
}

EraseTick DiscEraser::Tick(int position) {
    if (!m_zeroWrite) {
        const std::uint32_t status = m_writer->TestUnitReady();
        if (status == 0) {
            return Finish();
        }
        if (!StillWorking(status)) {
            // The drive gave up blanking (or lost the disc): no waiting mends that.
            m_failure = "BLANK: " + quarnel::status::Text(status);
            return Finish();
        }
        return {position < kBlankBarLimit ? position + 1 : position, false};
    }
    const std::int32_t count = m_counter.load(std::memory_order_acquire);
    if (count < kBarFullFrom) {
        return {static_cast<int>(count * 100 / 1600), false};
    }
    // The worker's failure text is complete once kWorkerDone is seen (acquire).
    if (count == kWorkerDone && (!m_failure.empty() || m_writer->TestUnitReady() == 0)) {
        return Finish();
    }
    return {position, false};
}

EraseTick DiscEraser::Finish() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    static_cast<void>(m_writer->Eject(true));
    m_writer->LockVolumn(false);
    if (!m_failure.empty()) {
        ShowDiscMessage(kBlankFailedKey, m_failure);
        return {100, true, false};
    }
    return {100, true, true};
}

std::uint32_t DiscEraser::WaitUntilReady(int periodMs) {
    std::uint32_t status = m_writer->TestUnitReady();
    while (StillWorking(status)) {
        m_sleep(periodMs);
        status = m_writer->TestUnitReady();
    }
    return status;
}

std::uint32_t DiscEraser::WriteZeros(long address, std::vector<unsigned char>& zeros) {
    std::uint32_t status = m_writer->Write(address, zeros.data(), kZeroBytes, kZeroSectors);
    for (int retry = 0; retry < kMaxBusyWriteRetries && WriteBusy(status); ++retry) {
        m_sleep(kBusyWriteRetryMs);
        status = m_writer->Write(address, zeros.data(), kZeroBytes, kZeroSectors);
    }
    return status;
}

void DiscEraser::ZeroWrite() {
    std::vector<unsigned char> zeros(kZeroBytes, 0);
    for (long address = 0; address <= kLastZeroAddress; address += kZeroSectors) {
        if (const std::uint32_t status = WriteZeros(address, zeros); status != 0) {
            m_failure =
                "WRITE at " + std::to_string(address) + ": " + quarnel::status::Text(status);
            m_counter.store(kWritingEnded, std::memory_order_release);
            break;
        }
        m_counter.fetch_add(kZeroSectors, std::memory_order_acq_rel);
    }
    if (m_failure.empty()) {
        // DVD+RW and DVD-RAM are overwritten in place: flushing the cache
        // finishes the job; they take no CLOSE SESSION.
        std::uint32_t status = m_writer->SynCache();
        if (status == 0) {
            status = WaitUntilReady(kWorkerPollMs);
        }
        if (status != 0) {
            m_failure = "SYNCHRONIZE CACHE: " + quarnel::status::Text(status);
        }
    }
    m_counter.store(kWorkerDone, std::memory_order_release);
}

} // namespace disc
