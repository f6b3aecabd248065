#include "disc/DiscEraser.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "disc/DiscMessage.h"
#include "disc/DriveChecks.h"
#include "util/MessageBox.h"
#include "util/ThreadName.h"

#include <chrono>
#include <vector>

namespace disc {

namespace {

constexpr int kCannotEraseKey = 2;
constexpr int kNotReadyKey = 3;
constexpr int kConfirmKey = 4;
constexpr int kBlankFailedKey = 5;
constexpr int kDvdRamParamKey = 6;

constexpr int kFormatPollMs = 300;
constexpr int kWorkerPollMs = 200;
constexpr long kZeroSectors = 32;
constexpr long kZeroBytes = kZeroSectors * 2048;
constexpr long kLastZeroAddress = 1600;
constexpr int kMaxFailedWrites = 5;
constexpr std::int32_t kBarFullFrom = 1617;
constexpr int kBlankBarLimit = 98;
constexpr std::uint8_t kMediumNotPresent = 0x3A;

bool NoDisc(std::uint32_t status) {
    return (status & 0xFF000000U) == quarnel::status::kCheckCondition &&
           ((status >> 8) & 0xFFU) == kMediumNotPresent;
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
    if (device == nullptr || m_worker.joinable() || !IsWriter(device)) {
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
        if (m_writer->Blank(quarnel::BLANK_MINIMAL) != 0) {
            ShowDiscMessage(kBlankFailedKey);
            return false;
        }
        return true;
    case quarnel::MEDIUM_DVD_PLUS_RW:
        static_cast<void>(m_writer->FormatUnit());
        WaitUntilReady(kFormatPollMs);
        return StartMedium();
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
    m_counter.store(0, std::memory_order_release);
    m_worker = std::thread(&DiscEraser::ZeroWrite, this);
    return true;
}

EraseTick DiscEraser::Tick(int position) {
    if (!m_zeroWrite) {
        if (m_writer->TestUnitReady() == 0) {
            return Finish();
        }
        return {position < kBlankBarLimit ? position + 1 : position, false};
    }
    const std::int32_t count = m_counter.load(std::memory_order_acquire);
    if (count < kBarFullFrom) {
        return {static_cast<int>(count * 100 / 1600), false};
    }
    if (count == kWorkerDone && m_writer->TestUnitReady() == 0) {
        return Finish();
    }
    return {position, false};
}

EraseTick DiscEraser::Finish() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    static_cast<void>(m_writer->Eject(true));
    return {100, true};
}

void DiscEraser::WaitUntilReady(int periodMs) {
    for (std::uint32_t status = m_writer->TestUnitReady(); status != 0 && !NoDisc(status);
         status = m_writer->TestUnitReady()) {
        m_sleep(periodMs);
    }
}

void DiscEraser::ZeroWrite() {
    util::NameThisThread("eraser");
    std::vector<unsigned char> zeros(kZeroBytes, 0);
    int failed = 0;
    for (long address = 0; address <= kLastZeroAddress; address += kZeroSectors) {
        if (m_writer->Write(address, zeros.data(), kZeroBytes, kZeroSectors) != 0 &&
            ++failed == kMaxFailedWrites) {
            m_counter.store(kWritingEnded, std::memory_order_release);
            break;
        }
        m_counter.fetch_add(kZeroSectors, std::memory_order_acq_rel);
    }
    static_cast<void>(m_writer->SynCache());
    WaitUntilReady(kWorkerPollMs);
    static_cast<void>(m_writer->CloseSession(0));
    WaitUntilReady(kWorkerPollMs);
    m_counter.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace disc
