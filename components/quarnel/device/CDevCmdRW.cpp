#include "components/quarnel/device/CDevCmdRW.h"

#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/mmc/CommandBuilders.h"
#include "components/quarnel/mmc/ModePage.h"
#include "components/quarnel/mmc/WriteParametersPage.h"

namespace quarnel {

namespace {

// 1x CD audio is 176.4 kB/s; drives round a requested speed up to the
// nearest one they support, so this asks for their slowest.
constexpr std::uint16_t kSlowestWriteKBytesPerSecond = 176;

bool RandomWritable(MEDIUM_TYPE medium) {
    return medium == MEDIUM_DVD_RAM || medium == MEDIUM_DVD_PLUS_RW ||
           medium == MEDIUM_DVD_RW_RESTRICTED || medium == MEDIUM_DVD_RW_EITHER;
}

} // namespace

template <typename Builder> std::uint32_t CDevCmdRW::RunImmediate(Builder build) {
    const std::uint32_t result = Run(build(true));
    if (status::Is(result, sense::kInvalidField)) {
        return Run(build(false));
    }
    return result;
}

std::uint32_t CDevCmdRW::GetNextWriteAdd(unsigned long& address) {
    TRACK_INFO info{};
    std::uint32_t result = ReadTrackInfoEx(info, TRACK_INFO_BY_TRACK, cdb::kInvisibleTrack);
    if (result != status::kOk) {
        DISC_INFO disc{};
        if (ReadDiscInfo(disc) != status::kOk) {
            return result;
        }
        result = ReadTrackInfoEx(info, TRACK_INFO_BY_TRACK, disc.lastTrackLastSession);
        if (result != status::kOk) {
            return result;
        }
    }
    if (!info.nextWritableValid) {
        return status::FromParseError(ParseError::Inconsistent);
    }
    address = info.nextWritable;
    return status::kOk;
}

std::uint32_t CDevCmdRW::SetWriteParam(WriteParam param) {
    if (RandomWritable(GetMediumType())) {
        return TestUnitReady();
    }
    std::vector<std::uint8_t> current;
    std::uint32_t result = ReadModePage(kWriteParametersPage, current);
    if (result != status::kOk) {
        return result;
    }
    auto parsed = ParseWriteParametersPage(current);
    if (!parsed.Ok()) {
        return status::FromParseError(parsed.error);
    }
    Capabilities caps;
    const bool offered = GetCapabilities(caps) == status::kOk && caps.underrunProtection;

    WriteParameters& params = parsed.value;
    params.writeType = static_cast<std::uint8_t>(param.writeType);
    params.underrunProtection = offered;
    params.testWrite = param.testWrite != 0;
    params.multiSession =
        param.keepOpen != 0 ? write::kMultiSessionOpen : write::kMultiSessionClose;
    params.copy = param.copy != 0;
    params.trackMode = param.trackMode;
    params.dataBlockType = param.dataBlockType;
    params.sessionFormat = param.sessionFormat;
    params.pauseLength = param.audioPause != 0 ? write::kAudioPauseSectors : 0;
    std::vector<std::uint8_t> list = ModeSelectList(BuildWriteParametersPage(params));
    return Send(cdb::ModeSelect10(static_cast<std::uint16_t>(list.size())), list);
}

std::uint32_t CDevCmdRW::Blank(BLANK_TYPE type) {
    if (type > BLANK_SESSION) {
        return status::kBadArgument;
    }
    return RunImmediate(
        [type](bool immediate) { return cdb::Blank(static_cast<std::uint8_t>(type), immediate); });
}

std::uint32_t CDevCmdRW::FormatUnit() {
    auto list = cdb::FormatUnitParameters(0xFFFFFFFF, cdb::kFormatTypeDvdPlusRwFull, 0, true);
    return Send(cdb::FormatUnit(), list);
}

std::uint32_t CDevCmdRW::Write(long address, unsigned char* data, unsigned long bytes,
                               int sectors) {
    if (data == nullptr || sectors <= 0 || sectors > 0xFFFF || bytes == 0 ||
        bytes % static_cast<unsigned long>(sectors) != 0 || address < -0x80000000L ||
        address > 0xFFFFFFFFL) {
        return status::kBadArgument;
    }
    // Addresses before 0 (the pre-gap of the first track) are two's complement.
    const auto lba = static_cast<std::uint32_t>(address);
    return Send(cdb::Write10(lba, static_cast<std::uint16_t>(sectors)), {data, bytes});
}

std::uint32_t CDevCmdRW::SynCache() {
    return RunImmediate(cdb::SynchronizeCache);
}

std::uint32_t CDevCmdRW::CloseTrack(int track) {
    if (track < 0 || track > 0xFFFF) {
        return status::kBadArgument;
    }
    return Run(cdb::CloseTrackSession(cdb::CloseFunction::Track, static_cast<std::uint16_t>(track),
                                      false));
}

std::uint32_t CDevCmdRW::CloseSession() {
    return CloseSession(0);
}

std::uint32_t CDevCmdRW::CloseSession(unsigned char number) {
    return RunImmediate([number](bool immediate) {
        return cdb::CloseTrackSession(cdb::CloseFunction::Session, number, immediate);
    });
}

std::uint32_t CDevCmdRW::SetLowestWriteSpeed() {
    return Run(cdb::SetCdSpeed(cdb::kSpeedMaximum, kSlowestWriteKBytesPerSecond));
}

} // namespace quarnel
