// What the command layer makes of the sense data a writer gives: no medium,
// busy drives, refused writes, lost streaming, unreadable sectors.
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"

#include <gtest/gtest.h>

#include <array>

namespace quarnel::test {
namespace {

constexpr std::uint32_t kChunk = 16;

std::uint32_t WriteChunk(CDevCmdRW& device, unsigned long address) {
    std::vector<std::uint8_t> data = Audio(static_cast<std::uint32_t>(address), kChunk, 3);
    return device.Write(static_cast<long>(address), data.data(), data.size(), kChunk);
}

bool BufeIsOn(CDevCmdRW& device) {
    std::array<unsigned char, 60> page{};
    SenseData_tag sense{};
    EXPECT_EQ(device.GetParamPage(page.data(), static_cast<int>(page.size()), device.GetDeviceID(),
                                  sense, 0x05),
              status::kOk);
    EXPECT_EQ(page[0] & 0x3F, 0x05);
    return (page[2] & 0x40) != 0;
}

TEST(SensePaths, NoMediumIsReportedWithItsSense) {
    EmulatedRig rig(emu::MediumKind::None);
    CDevCmdRW& device = rig.Device();
    const std::uint32_t result = WriteChunk(device, 0);
    EXPECT_EQ(result & 0xFF000000, status::kCheckCondition);
    EXPECT_EQ((result >> 16) & 0xFF, sense::kKeyNotReady);
    EXPECT_EQ((result >> 8) & 0xFF, 0x3A);
    EXPECT_TRUE(device.GetLastSense().NoMedium());
}

TEST(SensePaths, LongWriteInProgressIsRetriedUntilTheWriteGoesThrough) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    emu::FaultPlan faults;
    faults.longWriteAttempts = 3;
    rig.Emulated().SetFaults(faults);
    int busy = 0;
    std::uint32_t result = WriteChunk(device, 0);
    while (result != status::kOk && device.GetLastSense().LongWriteInProgress() && busy < 10) {
        ++busy;
        result = WriteChunk(device, 0);
    }
    EXPECT_EQ(result, status::kOk);
    EXPECT_EQ(busy, 3);
    unsigned long next = 0;
    ASSERT_EQ(device.GetNextWriteAdd(next), status::kOk);
    EXPECT_EQ(next, kChunk) << "the retried write landed once";
}

TEST(SensePaths, WritesOnlyAtTheNextWritableAddress) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    EXPECT_NE(WriteChunk(device, 32), status::kOk);
    EXPECT_TRUE(device.GetLastSense().InvalidAddressForWrite());
    EXPECT_EQ(WriteChunk(device, 0), status::kOk);
    EXPECT_NE(WriteChunk(device, 0), status::kOk) << "the same address twice";
    EXPECT_TRUE(device.GetLastSense().InvalidAddressForWrite());
}

TEST(SensePaths, ClosedDiscRefusesWrites) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(false)), status::kOk);
    ASSERT_EQ(WriteChunk(device, 0), status::kOk);
    ASSERT_EQ(device.CloseTrack(1), status::kOk);
    ASSERT_EQ(device.CloseSession(), status::kOk);
    rig.WaitUntilReady();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(false)), status::kOk);
    EXPECT_NE(WriteChunk(device, kChunk), status::kOk);
    EXPECT_TRUE(device.GetLastSense().InvalidAddressForWrite());
    unsigned long next = 0;
    EXPECT_NE(device.GetNextWriteAdd(next), status::kOk);
}

// A 4x drive with a small buffer; the host waits long enough between two
// writes for the buffer to run dry.
std::uint32_t WriteAfterAStall(EmulatedRig& rig) {
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    EXPECT_EQ(WriteChunk(device, 0), status::kOk);
    rig.Clock().Advance(std::chrono::seconds(5));
    return WriteChunk(device, kChunk);
}

void SmallFastBuffer(emu::DriveSettings& settings) {
    settings.writeSpeedX = 4;
    settings.bufferKib = 256;
}

TEST(SensePaths, UnderrunRuinsTheTrackWhenTheDriveOffersNoProtection) {
    EmulatedRig rig(emu::MediumKind::CdR, [](emu::DriveSettings& settings) {
        SmallFastBuffer(settings);
        settings.capabilities.underrunProtection = false;
    });
    const std::uint32_t result = WriteAfterAStall(rig);
    EXPECT_NE(result, status::kOk);
    EXPECT_TRUE(rig.Device().GetLastSense().Underrun());
    EXPECT_FALSE(BufeIsOn(rig.Device()));
    EXPECT_NE(WriteChunk(rig.Device(), 2 * kChunk), status::kOk) << "the track takes no more";
    EXPECT_EQ(rig.Device().CloseTrack(1), status::kOk) << "what was written is kept";
}

TEST(SensePaths, SetWriteParamSwitchesProtectionOnWhenOffered) {
    EmulatedRig rig(emu::MediumKind::CdR, SmallFastBuffer);
    EXPECT_EQ(WriteAfterAStall(rig), status::kOk) << "the drive paused and resumed";
    EXPECT_TRUE(BufeIsOn(rig.Device()));
    EXPECT_EQ(WriteChunk(rig.Device(), 2 * kChunk), status::kOk);
}

// 16-sector writes every 200 ms, as live audio arrives (a little faster than
// 1x); whether every one of them went through.
bool KeepsUpWithLiveAudio(EmulatedRig& rig) {
    CDevCmdRW& device = rig.Device();
    EXPECT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    for (unsigned long address = 0; address < 20 * kChunk; address += kChunk) {
        if (WriteChunk(device, address) != status::kOk) {
            return false;
        }
        rig.Clock().Advance(std::chrono::milliseconds(200));
    }
    return true;
}

void FastDriveWithoutProtection(emu::DriveSettings& settings) {
    settings.writeSpeedX = 52;
    settings.bufferKib = 256;
    settings.capabilities.underrunProtection = false;
}

TEST(SensePaths, AFastDriveRunsDryOnLiveAudio) {
    EmulatedRig rig(emu::MediumKind::CdR, FastDriveWithoutProtection);
    EXPECT_FALSE(KeepsUpWithLiveAudio(rig));
    EXPECT_TRUE(rig.Device().GetLastSense().Underrun() ||
                rig.Device().GetLastSense().InvalidAddressForWrite());
}

TEST(SensePaths, TheLowestWriteSpeedKeepsUpWithLiveAudio) {
    EmulatedRig rig(emu::MediumKind::CdR, FastDriveWithoutProtection);
    ASSERT_EQ(rig.Device().SetLowestWriteSpeed(), status::kOk);
    EXPECT_TRUE(KeepsUpWithLiveAudio(rig));
}

TEST(SensePaths, FailingWritesAndUnreadableSectorsReachTheCaller) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.SetWriteParam(WriteParam::AudioTrackAtOnce(true)), status::kOk);
    ASSERT_EQ(WriteChunk(device, 0), status::kOk);
    emu::FaultPlan faults;
    faults.failWritesFrom = 20;
    faults.unreadable = {{5, 6}};
    rig.Emulated().SetFaults(faults);
    EXPECT_NE(WriteChunk(device, kChunk), status::kOk);
    EXPECT_EQ(device.GetLastSense().key, sense::kKeyMediumError);
    ASSERT_EQ(device.CloseTrack(1), status::kOk);

    std::vector<unsigned char> sectors(4 * CDevCmdROM::kAudioSectorBytes);
    EXPECT_EQ(device.ReadCD_All(sectors.data(), static_cast<long>(sectors.size()), 4, 0),
              status::kOk);
    EXPECT_NE(device.ReadCD_All(sectors.data(), static_cast<long>(sectors.size()), 4, 4),
              status::kOk);
    EXPECT_TRUE(device.GetLastSense().Is(sense::kKeyMediumError, 0x11));
}

TEST(SensePaths, NotReadyDriveAnswersEveryMediumCommandSo) {
    EmulatedRig rig;
    emu::FaultPlan faults;
    faults.notReady = true;
    rig.Emulated().SetFaults(faults);
    CDevCmdRW& device = rig.Device();
    EXPECT_NE(device.TestUnitReady(), status::kOk);
    EXPECT_EQ(device.GetLastSense().key, sense::kKeyNotReady);
    DISC_INFO disc{};
    EXPECT_NE(device.ReadDiscInfo(disc), status::kOk);
    INQUIRYDATA inquiry{};
    EXPECT_EQ(device.Inquiry(inquiry), status::kOk) << "identity needs no medium";
}

TEST(SensePaths, BadArgumentsNeverReachTheDrive) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    std::vector<unsigned char> small(100);
    EXPECT_EQ(device.ReadCD_All(small.data(), 100, 1, 0), status::kBadArgument);
    EXPECT_EQ(device.ReadCD_All(nullptr, 2352, 1, 0), status::kBadArgument);
    EXPECT_EQ(device.Write(0, small.data(), 100, 0), status::kBadArgument);
    EXPECT_EQ(device.ReadTocEx(small.data(), 100, 7, 0), status::kBadArgument);
    SenseData_tag sense{};
    EXPECT_EQ(device.GetParamPage(small.data(), 26, device.GetDeviceID() + 1, sense, 0x2A),
              status::kBadArgument);
}

} // namespace
} // namespace quarnel::test
