// The drive classes against the emulated writer where takes, disc layer and command line do
// not go: a locked tray, a wrong address, an underrun, a reader, the drive list, a real
// writer, a disc spinning up, the command log.
#include "components/quarnel/device/DevDeque.h"
#include "components/quarnel/device/DeviceStatus.h"
#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/emu/ManualClock.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "disc/DriveChecks.h"
#include "disc/DriveList.h"
#include "lang/LangText.h"
#include "tests/components/quarnel/integration/EmulatedRig.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace quarnel::test {
namespace {

TEST(Media, LockedTrayRefusesEjectUntilAllowed) {
    EmulatedRig rig;
    CDevCmdRW& device = rig.Device();
    ASSERT_EQ(device.Lock(true), status::kOk);
    EXPECT_NE(device.Eject(true), status::kOk);
    EXPECT_TRUE(device.GetLastSense().Is(sense::kRemovalPrevented));
    EXPECT_FALSE(rig.Emulated().RemoveDisc());
    EXPECT_FALSE(rig.Emulated().LoadBlank(emu::MediumKind::CdRw)) << "no disc change either";
    EXPECT_FALSE(rig.Emulated().LoadImage(rig.Parent() / "none.cue"));
    EXPECT_EQ(device.TestUnitReady(), status::kOk) << "the disc is still in";

    ASSERT_EQ(device.Lock(false), status::kOk);
    ASSERT_EQ(device.Eject(true), status::kOk);
    EXPECT_NE(device.TestUnitReady(), status::kOk);
    EXPECT_TRUE(device.GetLastSense().NoMedium());
    ASSERT_EQ(device.Eject(false), status::kOk);
    EXPECT_EQ(device.TestUnitReady(), status::kOk) << "closing the tray brings the disc back";
    EXPECT_EQ(device.GetMediumType(), MEDIUM_CD_R);
}

constexpr std::uint32_t kChunk = 16;

std::uint32_t WriteChunk(CDevCmdRW& device, unsigned long address) {
    std::vector<std::uint8_t> data =
        testsupport::AudioSectors(static_cast<std::uint32_t>(address), kChunk, 3);
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

void NoWriting(emu::DriveSettings& settings) {
    settings.capabilities.cdR = false;
    settings.capabilities.cdRw = false;
    settings.capabilities.dvdRw = false;
    settings.capabilities.dvdPlusRw = false;
    settings.capabilities.dvdRam = false;
}

TEST(DriveChecks, AReaderIsNoWriterAndSaysSo) {
    EmulatedRig rig(emu::MediumKind::None, NoWriting);
    testsupport::ScriptedMessageBox box;
    const testsupport::ScopedMessageBoxHost host(box);
    CDevCmdROM* reader = rig.Drives().GetDequeItem(0);
    EXPECT_EQ(dynamic_cast<CDevCmdRW*>(reader), nullptr) << "listed as a reader";
    EXPECT_FALSE(::disc::IsWriter(reader));
    ASSERT_EQ(box.ShownCount(), 1U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 16));
    EXPECT_EQ(box.ShownMessages()[0].style, 64U);
}

TEST(DriveChecks, DriveListEntriesCarryLetterAndInquiryText) {
    EmulatedRig rig;
    const std::vector<::disc::DriveEntry> entries = ::disc::ListDrives(rig.Drives());
    ASSERT_EQ(entries.size(), 1U);
    EXPECT_EQ(entries[0].text, "D: SONDREL EMULATED WRITER 1.00");
    EXPECT_EQ(entries[0].device, rig.Drives().GetDequeItem(0));
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), entries[0].text), entries[0].device);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "E: nothing"), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), ""), nullptr);
    EXPECT_EQ(::disc::DriveOfEntry(rig.Drives(), "d"), nullptr);
}

class Provider : public ::testing::Test {
protected:
    std::filesystem::path Parent() const { return std::filesystem::path(m_temp.Path()) / "drives"; }
    std::shared_ptr<emu::Clock> m_clock = std::make_shared<emu::ManualClock>();

private:
    testsupport::TempFolder m_temp;
};

TEST_F(Provider, ARealWriterMeansNoDefaultDrive) {
    EmulatedDriveProvider provider(Parent(), m_clock);
    EXPECT_TRUE(provider.Drives(true).empty());
    EXPECT_TRUE(emu::ListDriveFolders(Parent()).empty());
}

// The disc layer waits while a drive spins a disc up after its tray closed or a disc was
// loaded, instead of reporting it not ready.
TEST(BecomingReady, TestUnitReadyWaitsUntilTheDiscHasSpunUp) {
    EmulatedRig rig(emu::MediumKind::CdR, [](emu::DriveSettings& s) { s.spinUpMs = 1500; });
    ASSERT_EQ(rig.Device().Eject(true), status::kOk);
    ASSERT_EQ(rig.Device().Eject(false), status::kOk);
    // The drive's clock moves on only after the disc layer has started asking:
    // an answer of ready means it waited.
    std::thread spinUp([&rig] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        rig.Clock().Advance(std::chrono::seconds(2));
    });
    EXPECT_EQ(rig.Device().TestUnitReady(), status::kOk);
    spinUp.join();
}

// A disc just loaded spins up too, and whatever the disc layer asks first
// (the track list's READ DISC INFORMATION, a take's next writable address,
// an erase's BLANK) waits for it.
TEST(BecomingReady, EveryCommandWaitsForADiscJustLoaded) {
    EmulatedRig rig(emu::MediumKind::None, [](emu::DriveSettings& s) { s.spinUpMs = 1500; });
    const std::vector<std::function<std::uint32_t(CDevCmdRW&)>> commands{
        [](CDevCmdRW& d) {
            DISC_INFO info{};
            return d.ReadDiscInfo(info);
        },
        [](CDevCmdRW& d) {
            unsigned long next = 0;
            return d.GetNextWriteAdd(next);
        },
        [](CDevCmdRW& d) { return d.Blank(BLANK_MINIMAL); }};
    for (const auto& command : commands) {
        ASSERT_TRUE(rig.Emulated().LoadBlank(emu::MediumKind::CdRw));
        std::atomic<bool> spunUp{false};
        std::thread spinUp([&rig, &spunUp] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            spunUp.store(true); // before the clock moves: a command answered later waited
            rig.Clock().Advance(std::chrono::seconds(2));
        });
        EXPECT_EQ(command(rig.Device()), status::kOk);
        EXPECT_TRUE(spunUp.load());
        spinUp.join();
    }
}

std::vector<std::string> Lines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// SONDREL_SCSI_LOG: every command sent to a drive is one line of the log, with the drive,
// the command block, the data, the status and the sense.
TEST(CommandLog, HoldsEveryCommandWithItsDriveDataStatusAndSense) {
    const testsupport::TempFolder temp;
    const std::filesystem::path log = std::filesystem::path(temp.Path()) / "scsi.log";
    ::setenv("SONDREL_SCSI_LOG", log.c_str(), 1); // NOLINT(concurrency-mt-unsafe): one thread yet
    EmulatedRig rig(emu::MediumKind::None);
    ::unsetenv("SONDREL_SCSI_LOG");               // NOLINT(concurrency-mt-unsafe)
    const std::size_t before = Lines(log).size(); // the drive list's own look at the drive
    INQUIRYDATA inquiry;
    ASSERT_EQ(rig.Device().Inquiry(inquiry), 0U);
    ASSERT_NE(rig.Device().TestUnitReady(), 0U);

    std::vector<std::string> lines = Lines(log);
    ASSERT_EQ(lines.size(), before + 2) << testing::PrintToString(lines);
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(before));
    const std::string drive = " " + rig.Device().GetDeviceName() + " ";
    EXPECT_NE(lines[0].find(drive + "cdb 12 00 00 00 60 00 | in 96 | status 00 | sense - | "),
              std::string::npos)
        << lines[0];
    EXPECT_NE(lines[1].find(drive + "cdb 00 00 00 00 00 00 | none 0 | status 02 | sense 2/3A/"),
              std::string::npos)
        << lines[1];
    EXPECT_NE(lines[1].find("(no disc"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(" ms"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].substr(0, 2), "20") << "each line starts with the date: " << lines[1];
}

} // namespace
} // namespace quarnel::test
