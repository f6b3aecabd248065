#include "components/quarnel/device/CDevCmdROM.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/device/LoggingTransport.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/CommandTimeouts.h"
#include "components/quarnel/mmc/Configuration.h"
#include "components/quarnel/mmc/Inquiry.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/Toc.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <thread>

namespace quarnel {

namespace {

constexpr std::uint16_t kModeSenseAllocation = 1024; // page 2Ah grows with speed descriptors
constexpr std::uint8_t kRequestSenseLength = 32;
constexpr std::size_t kInquiryStandardBytes = 36; // header, vendor, product, revision
constexpr long kCdTextMaxLength = 0xFFFF;
constexpr std::uint16_t kMaxAllocation = 0xFFFF;
// 470 KiB: below the 512 KiB many host adapters take in one SG_IO transfer.
constexpr int kMaxReadSectors = 200;
// How long a command waits for a drive that is becoming ready, and how
// often it asks meanwhile.
constexpr auto kBecomingReadyWait = std::chrono::seconds(20);
constexpr auto kBecomingReadyPoll = std::chrono::milliseconds(100);

ParseError CheckTocFormat(int format, std::span<const std::uint8_t> reply) {
    switch (format) {
    case 0:
        return ParseTrackToc(reply).error;
    case 2:
        return ParseFullToc(reply).error;
    default:
        return ParseCdTextReply(reply).error;
    }
}

std::uint32_t CopyOut(const std::vector<std::uint8_t>& reply, unsigned char* buffer, long length) {
    std::memcpy(buffer, reply.data(), std::min(reply.size(), static_cast<std::size_t>(length)));
    return status::kOk;
}

} // namespace

CDevCmdROM::CDevCmdROM(std::unique_ptr<Transport> transport, int deviceId)
    : m_transport(WithCommandLog(std::move(transport))), m_deviceId(deviceId) {}

CDevCmdROM::~CDevCmdROM() = default;

SenseData CDevCmdROM::RequestSense() {
    std::array<std::uint8_t, kRequestSenseLength> buffer{};
    const CommandOutcome outcome = m_transport->Execute(
        MakeCommand(cdb::RequestSense(kRequestSenseLength), DataDirection::FromDevice, buffer));
    if (!outcome.Ok()) {
        return {};
    }
    return DecodeSense(
        std::span(buffer).first(std::min<std::size_t>(outcome.transferred, buffer.size())));
}

std::uint32_t CDevCmdROM::Execute(const Command& command, std::uint32_t& transferred) {
    // A drive spinning up a disc it has just taken in answers "becoming
    // ready" for some seconds; that is waited out before a command fails.
    const auto deadline = std::chrono::steady_clock::now() + kBecomingReadyWait;
    for (;;) {
        const std::uint32_t result = ExecuteOnce(command, transferred);
        if (result == status::kOk || !GetLastSense().BecomingReady() ||
            std::chrono::steady_clock::now() >= deadline) {
            return result;
        }
        std::this_thread::sleep_for(kBecomingReadyPoll);
    }
}

std::uint32_t CDevCmdROM::ExecuteOnce(const Command& command, std::uint32_t& transferred) {
    const std::lock_guard lock(m_mutex);
    CommandOutcome outcome;
    SenseData sense;
    // A unit attention (a new disc, a reset) is reported once, instead of
    // running the command; the command is then sent a second time.
    for (int attempt = 0; attempt < 2; ++attempt) {
        outcome = m_transport->Execute(command);
        sense = SenseData{};
        if (outcome.hostError != 0 || outcome.scsiStatus != kStatusCheckCondition) {
            break;
        }
        sense = outcome.senseLength > 0
                    ? DecodeSense(std::span(outcome.sense)
                                      .first(std::min<std::size_t>(outcome.senseLength,
                                                                   outcome.sense.size())))
                    : RequestSense();
        if (!sense.UnitAttention()) {
            break;
        }
    }
    m_lastSense = sense;
    transferred = outcome.Ok()
                      ? std::min<std::uint32_t>(outcome.transferred,
                                                static_cast<std::uint32_t>(command.data.size()))
                      : 0;
    return status::FromOutcome(outcome, sense);
}

std::uint32_t CDevCmdROM::Run(const CommandBlock& block, DataDirection direction,
                              std::vector<std::uint8_t>& data) {
    std::uint32_t transferred = 0;
    const std::uint32_t result = Execute(MakeCommand(block, direction, data), transferred);
    if (direction == DataDirection::FromDevice) {
        data.resize(transferred);
    }
    return result;
}

std::uint32_t CDevCmdROM::Run(const CommandBlock& block) {
    std::uint32_t transferred = 0;
    return Execute(MakeCommand(block), transferred);
}

std::uint32_t CDevCmdROM::Send(const CommandBlock& block, std::span<std::uint8_t> data) {
    std::uint32_t transferred = 0;
    return Execute(MakeCommand(block, DataDirection::ToDevice, data), transferred);
}

SenseData_tag CDevCmdROM::GetLastSense() const {
    const std::lock_guard lock(m_mutex);
    return m_lastSense;
}

template <typename Record, typename Parser>
std::uint32_t CDevCmdROM::ReadRecord(const CommandBlock& block, std::uint16_t allocation,
                                     Parser parse, Record& record) {
    std::vector<std::uint8_t> reply(allocation);
    const std::uint32_t result = Run(block, DataDirection::FromDevice, reply);
    if (result != status::kOk) {
        return result;
    }
    auto parsed = parse(std::span<const std::uint8_t>(reply));
    if (parsed.Ok()) {
        record = std::move(parsed.value);
    }
    return status::FromParseError(parsed.error);
}

std::uint32_t CDevCmdROM::Inquiry(INQUIRYDATA& data) {
    const auto parse = [](std::span<const std::uint8_t> reply) {
        const auto parsed = ParseInquiry(reply);
        if (!parsed.Ok()) {
            return Parsed<INQUIRYDATA>::Fail(parsed.error);
        }
        Parsed<INQUIRYDATA> result;
        std::memcpy(&result.value, reply.data(), std::min(reply.size(), kInquiryStandardBytes));
        return result;
    };
    return ReadRecord(cdb::Inquiry(kInquiryLength), kInquiryLength, parse, data);
}

std::uint32_t CDevCmdROM::ReadModePage(std::uint8_t pageCode, std::vector<std::uint8_t>& page) {
    std::vector<std::uint8_t> reply(kModeSenseAllocation);
    const std::uint32_t result =
        Run(cdb::ModeSense10(pageCode, kModeSenseAllocation), DataDirection::FromDevice, reply);
    if (result != status::kOk) {
        return result;
    }
    const auto found = FindModePage(reply, pageCode);
    if (!found.Ok()) {
        return status::FromParseError(found.error);
    }
    page.assign(found.value.begin(), found.value.end());
    return status::kOk;
}

std::uint32_t CDevCmdROM::GetCapabilities(Capabilities& caps) {
    std::vector<std::uint8_t> page;
    const std::uint32_t result = ReadModePage(kCapabilitiesPage, page);
    if (result != status::kOk) {
        return result;
    }
    const auto parsed = ParseCapabilitiesPage(page);
    caps = parsed.value;
    return status::FromParseError(parsed.error);
}

std::uint32_t CDevCmdROM::GetParamPage(unsigned char* buffer, int length, int deviceId,
                                       SenseData_tag& sense, int pageCode) {
    if (buffer == nullptr || length <= 0 || deviceId != m_deviceId || pageCode < 0 ||
        pageCode > 0x3F) {
        return status::kBadArgument;
    }
    std::vector<std::uint8_t> page;
    const std::uint32_t result = ReadModePage(static_cast<std::uint8_t>(pageCode), page);
    sense = GetLastSense();
    if (result != status::kOk) {
        return result;
    }
    return CopyOut(page, buffer, length);
}

std::uint32_t CDevCmdROM::TestUnitReady() {
    return Run(cdb::TestUnitReady());
}

CD_DEV_TYPE CDevCmdROM::GetDevType() {
    Capabilities caps;
    if (GetCapabilities(caps) != status::kOk) {
        return DEV_DVDRW;
    }
    if (caps.writeDvdR || caps.writeDvdRam) {
        return DEV_DVDRW;
    }
    if (caps.writeCdR || caps.writeCdRw) {
        return DEV_CDRW;
    }
    return caps.ReadsDvd() ? DEV_DVDROM : DEV_CDROM;
}

MEDIUM_TYPE CDevCmdROM::GetMediumType() {
    std::uint16_t profile = MEDIUM_NONE;
    if (ReadRecord(cdb::GetConfiguration(0, kFeatureHeaderLength), kFeatureHeaderLength,
                   ParseCurrentProfile, profile) != status::kOk) {
        return MEDIUM_NONE;
    }
    return static_cast<MEDIUM_TYPE>(profile);
}

std::uint32_t CDevCmdROM::ReadTocChecked(int format, int trackOrSession, std::uint16_t allocation,
                                         std::vector<std::uint8_t>& reply) {
    if ((format != 0 && format != 2 && format != 5) || trackOrSession < 0 ||
        trackOrSession > 0xFF) {
        return status::kBadArgument;
    }
    reply.assign(allocation, 0);
    const std::uint32_t result =
        Run(cdb::ReadTocPmaAtip(static_cast<cdb::TocFormat>(format), false,
                                static_cast<std::uint8_t>(trackOrSession), allocation),
            DataDirection::FromDevice, reply);
    if (result != status::kOk) {
        return result;
    }
    return status::FromParseError(CheckTocFormat(format, reply));
}

std::uint32_t CDevCmdROM::ReadTocTwoStep(int format, int trackOrSession, long maxLength,
                                         std::vector<std::uint8_t>& reply) {
    const std::uint32_t result = ReadTocChecked(format, trackOrSession, kTocHeaderLength, reply);
    if (result != status::kOk) {
        return result;
    }
    const long announced = long{2} + GetBe16(reply, 0);
    const auto allocation =
        static_cast<std::uint16_t>(std::min({announced, maxLength, long{kMaxAllocation}}));
    return ReadTocChecked(format, trackOrSession, allocation, reply);
}

std::uint32_t CDevCmdROM::ReadToc(unsigned char* buffer, long length, int format,
                                  int trackOrSession) {
    if (buffer == nullptr || length < static_cast<long>(kTocHeaderLength)) {
        return status::kBadArgument;
    }
    std::vector<std::uint8_t> reply;
    const auto allocation = static_cast<std::uint16_t>(std::min(length, long{kMaxAllocation}));
    const std::uint32_t result = ReadTocChecked(format, trackOrSession, allocation, reply);
    return result != status::kOk ? result : CopyOut(reply, buffer, length);
}

std::uint32_t CDevCmdROM::ReadTocEx(unsigned char* buffer, long length, int format,
                                    int trackOrSession) {
    if (buffer == nullptr || length < static_cast<long>(kTocHeaderLength)) {
        return status::kBadArgument;
    }
    std::vector<std::uint8_t> reply;
    const std::uint32_t result = ReadTocTwoStep(format, trackOrSession, length, reply);
    return result != status::kOk ? result : CopyOut(reply, buffer, length);
}

std::uint32_t CDevCmdROM::GetCDText(FS_CDTEXT_INFO& info) {
    std::vector<std::uint8_t> reply;
    const std::uint32_t result =
        ReadTocTwoStep(static_cast<int>(cdb::TocFormat::CdText), 0, kCdTextMaxLength, reply);
    if (result != status::kOk) {
        return result;
    }
    auto parsed = ParseCdTextReply(reply);
    info.text = std::move(parsed.value);
    return status::FromParseError(parsed.error);
}

std::uint32_t CDevCmdROM::ReadDiscInfo(DISC_INFO& info) {
    return ReadRecord(cdb::ReadDiscInformation(kDiscInformationLength), kDiscInformationLength,
                      ParseDiscInformation, info);
}

std::uint32_t CDevCmdROM::ReadTrackInfoEx(TRACK_INFO& info, READ_TRACK_INFO_TYPE type,
                                          long number) {
    if (type > TRACK_INFO_BY_SESSION || number < 0 || number > 0xFFFFFFFFL) {
        return status::kBadArgument;
    }
    return ReadRecord(cdb::ReadTrackInformation(static_cast<cdb::TrackAddressType>(type),
                                                static_cast<std::uint32_t>(number),
                                                kTrackInformationLength),
                      kTrackInformationLength, ParseTrackInformation, info);
}

std::uint32_t CDevCmdROM::SetLowestReadSpeed(bool lowest) {
    constexpr std::uint16_t kSlowestReadKBytesPerSecond = 176;
    return Run(cdb::SetCdSpeed(lowest ? kSlowestReadKBytesPerSecond : cdb::kSpeedMaximum,
                               cdb::kSpeedMaximum));
}

std::uint32_t CDevCmdROM::ReadCD_All(unsigned char* buffer, long length, int count,
                                     unsigned long address) {
    if (buffer == nullptr || count <= 0 || count > kMaxReadSectors ||
        length < static_cast<long>(count) * kAudioSectorBytes || address > 0xFFFFFFFFUL) {
        return status::kBadArgument;
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * kAudioSectorBytes;
    std::vector<std::uint8_t> reply(bytes);
    const std::uint32_t result = Run(
        cdb::ReadCdAudio(static_cast<std::uint32_t>(address), static_cast<std::uint32_t>(count)),
        DataDirection::FromDevice, reply);
    if (result != status::kOk) {
        return result;
    }
    if (reply.size() != bytes) {
        return status::FromParseError(ParseError::TooShort);
    }
    return CopyOut(reply, buffer, length);
}

std::uint32_t CDevCmdROM::Eject(bool open) {
    return Run(cdb::StartStopUnit(open ? cdb::TrayAction::Eject : cdb::TrayAction::Load, false));
}

std::uint32_t CDevCmdROM::Lock(bool lock) {
    return Run(cdb::PreventAllowMediumRemoval(lock));
}

std::uint32_t CDevCmdROM::LockVolumn(bool lock) {
    const std::lock_guard guard(m_mutex);
    return m_transport->SetExclusive(lock) ? status::kOk : status::kDriveInUse;
}

} // namespace quarnel
