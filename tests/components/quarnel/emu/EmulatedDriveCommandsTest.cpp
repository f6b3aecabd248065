// Each command of the emulated drive against hand-written command blocks, on
// each kind of medium and with none.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

#include <string>

namespace quarnel::emu::test {
namespace {

TEST(EmulatedDriveCommands, InquiryNamesTheDriveAndHonoursAllocation) {
    EmuTestDrive drive;
    const Result full = drive.Run({0x12, 0, 0, 0, 96, 0}, 96);
    ASSERT_TRUE(full.Ok());
    ASSERT_EQ(full.data.size(), 96U);
    EXPECT_EQ(full.data[0], 0x05);
    EXPECT_EQ(std::string(full.data.begin() + 8, full.data.begin() + 16), "SONDREL ");
    EXPECT_EQ(std::string(full.data.begin() + 16, full.data.begin() + 32), "EMULATED WRITER ");
    EXPECT_EQ(std::string(full.data.begin() + 32, full.data.begin() + 36), "1.00");
    const Result shortReply = drive.Run({0x12, 0, 0, 0, 36, 0}, 96);
    EXPECT_EQ(shortReply.outcome.transferred, 36U);
    EXPECT_EQ(drive.Run({0x12, 0x01, 0x80, 0, 96, 0}, 96).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveCommands, UnknownOperationIsInvalidCommand) {
    EmuTestDrive drive;
    const Result result = drive.Run({0xA8, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}, 2048);
    EXPECT_EQ(result.outcome.scsiStatus, kStatusCheckCondition);
    EXPECT_EQ(result.Sense(), sense::kInvalidCommand);
    EXPECT_EQ(result.outcome.transferred, 0U);
    EXPECT_EQ(result.outcome.senseLength, 18U);
    EXPECT_EQ(result.outcome.sense[0], 0x70);
    // REQUEST SENSE then gives the same once.
    const Result sense = drive.Run({0x03, 0, 0, 0, 18, 0}, 18);
    ASSERT_TRUE(sense.Ok());
    EXPECT_EQ(sense.data[2], 0x05);
    EXPECT_EQ(sense.data[12], 0x20);
    EXPECT_EQ(drive.Run({0x03, 0, 0, 0, 18, 0}, 18).data[12], 0x00);
}

TEST(EmulatedDriveCommands, TestUnitReadyWithoutMediumAndWithTrayOpen) {
    EmuTestDrive drive(0, MediumKind::None);
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kNoMediumTrayClosed);
    EXPECT_EQ(drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34).Sense(),
              sense::kNoMediumTrayClosed);
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdR));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x02, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kNoMediumTrayOpen);
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x03, 0}).Ok());
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

TEST(EmulatedDriveCommands, CapabilitiesPageFollowsDriveIni) {
    EmuTestDrive drive(8);
    DriveSettings settings = drive.Drive().Settings();
    settings.capabilities.dvdRam = false;
    settings.capabilities.underrunProtection = false;
    settings.bufferKib = 4096;
    ASSERT_TRUE(SaveDriveSettings(drive.Folder() / "drive.ini", settings));
    drive.Reopen();
    const Result page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    ASSERT_TRUE(page.Ok());
    ASSERT_EQ(page.data.size(), 8U + 36);
    EXPECT_EQ(GetBe16(page.data, 0), 42U);
    const std::uint8_t* p = page.data.data() + 8;
    EXPECT_EQ(p[0], 0x2A);
    EXPECT_EQ(p[3], 0x17) << "CD-R, CD-RW, test write, DVD-R; no DVD-RAM";
    EXPECT_EQ(p[4] & 0x80, 0) << "no BUF";
    EXPECT_EQ(p[6] & 0x09, 0x09) << "lock and eject";
    EXPECT_EQ(GetBe16(page.data, 8 + 12), 4096U);
    EXPECT_EQ(GetBe16(page.data, 8 + 18), 8U * 176);
    // Without BUF the host may not switch BUFE on.
    EXPECT_EQ(drive.SelectTaoAudio(true, false).Sense(), sense::kInvalidParameter);
    EXPECT_TRUE(drive.SelectTaoAudio(false, false).Ok());
}

TEST(EmulatedDriveCommands, WriteParametersPageRoundTrips) {
    EmuTestDrive drive;
    const Result before = drive.Run({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, 60);
    ASSERT_TRUE(before.Ok());
    EXPECT_EQ(before.data[8], 0x05);
    EXPECT_EQ(before.data[9], 0x32);
    EXPECT_EQ(before.data[10] & 0x0F, 1) << "TAO";
    ASSERT_TRUE(drive.SelectTaoAudio(true, true).Ok());
    const Result after = drive.Run({0x5A, 0, 0x05, 0, 0, 0, 0, 0, 60, 0}, 60);
    EXPECT_EQ(after.data[10], 0x41);
    EXPECT_EQ(after.data[11], 0xC0);
    EXPECT_EQ(after.data[12], 0x00);
    EXPECT_EQ(GetBe16(after.data, 8 + 14), 150U);
    EXPECT_EQ(drive.Run({0x5A, 0, 0xC5, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(),
              sense::kSavingNotSupported);
    EXPECT_EQ(drive.Run({0x5A, 0, 0x0E, 0, 0, 0, 0, 0, 60, 0}, 60).Sense(), sense::kInvalidField);
    // MODE SELECT without PF, with a short list and with a bad write type.
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    list[8] = 0x05;
    list[9] = 0x32;
    list[10] = 0x07;
    EXPECT_EQ(drive.Send({0x55, 0x00, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidField);
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
              sense::kInvalidParameter);
    EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x7F, 0}, list).Sense(),
              sense::kParameterListLength);
}

// The current profile of each medium is checked through the device layer.
TEST(EmulatedDriveCommands, GetConfigurationListsProfilesWithTheCurrentOne) {
    EmuTestDrive drive;
    const Result all = drive.Run({0x46, 0, 0, 0, 0, 0, 0, 0x01, 0, 0}, 256);
    ASSERT_TRUE(all.Ok());
    EXPECT_EQ(GetBe32(all.data, 0) + 4, all.data.size());
    EXPECT_EQ(GetBe16(all.data, 8), 0x0000) << "profile list first";
    const std::uint8_t listBytes = all.data[11];
    bool cdrCurrent = false;
    for (std::size_t at = 12; at < 12U + listBytes; at += 4) {
        if (GetBe16(all.data, at) == 0x09) {
            cdrCurrent = (all.data[at + 2] & 1) != 0;
        }
    }
    EXPECT_TRUE(cdrCurrent);
    EXPECT_EQ(drive.Run({0x46, 0x03, 0, 0, 0, 0, 0, 0, 8, 0}, 8).Sense(), sense::kInvalidField);
}

TEST(EmulatedDriveCommands, BlankCdRInformation) {
    EmuTestDrive drive;
    const Result disc = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34);
    ASSERT_TRUE(disc.Ok());
    EXPECT_EQ(GetBe16(disc.data, 0), 32U);
    EXPECT_EQ(disc.data[2], 0x00) << "blank, empty session, not erasable";
    EXPECT_EQ(disc.data[3], 1);
    EXPECT_EQ(disc.data[4], 1);
    EXPECT_EQ(disc.data[6], 1);
    EXPECT_EQ(GetBe32(disc.data, 20), 0x004F3B4AU);
    const Result track = drive.Run({0x52, 0x01, 0, 0, 0, 1, 0, 0, 36, 0}, 36);
    ASSERT_TRUE(track.Ok());
    EXPECT_EQ(track.data[2], 1);
    EXPECT_EQ(track.data[6] & 0x40, 0x40) << "blank";
    EXPECT_EQ(GetBe32(track.data, 8), 0U);
    EXPECT_EQ(GetBe32(track.data, 12), 0U);
    EXPECT_EQ(GetBe32(track.data, 16), 359849U);
    EXPECT_EQ(GetBe32(track.data, 24), 359849U);
    EXPECT_EQ(drive.Run({0x52, 0x01, 0, 0, 0, 2, 0, 0, 36, 0}, 36).Sense(), sense::kInvalidField);
    EXPECT_EQ(drive.Run({0x43, 0, 0, 0, 0, 0, 0, 0x08, 0, 0}, 2048).Sense(), sense::kInvalidField)
        << "a blank disc has no table of contents";
    EXPECT_EQ(drive.ReadCd(0, 1).Sense(), sense::kAddressOutOfRange);
    // Truncation: a 4-byte allocation gets 4 bytes, whatever the reply's length says.
    const Result head = drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 4, 0}, 34);
    EXPECT_EQ(head.outcome.transferred, 4U);
}

TEST(EmulatedDriveCommands, SetCdSpeedClampsToTheDrive) {
    EmuTestDrive drive(16);
    ASSERT_TRUE(drive.Run({0xBB, 0, 0xFF, 0xFF, 0x02, 0xC0, 0, 0, 0, 0, 0, 0}).Ok()); // 704 kB/s
    Result page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    EXPECT_EQ(GetBe16(page.data, 8 + 28), 4U * 176);
    ASSERT_TRUE(drive.Run({0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0}).Ok());
    page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    EXPECT_EQ(GetBe16(page.data, 8 + 28), 16U * 176);
    ASSERT_TRUE(drive.Run({0xBB, 0, 0xFF, 0xFF, 0x40, 0x00, 0, 0, 0, 0, 0, 0}).Ok());
    page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    EXPECT_EQ(GetBe16(page.data, 8 + 28), 16U * 176) << "no faster than the drive";
}

TEST(EmulatedDriveCommands, ReadCdRefusesBadFieldsAndDvd) {
    EmuTestDrive drive;
    EXPECT_EQ(drive.Run({0xBE, 0x08, 0, 0, 0, 0, 0, 0, 1, 0x10, 0, 0}, 2352).Sense(),
              sense::kInvalidField)
        << "mode 1 sector type";
    EXPECT_EQ(drive.Run({0xBE, 0x04, 0, 0, 0, 0, 0, 0, 1, 0x10, 0x01, 0}, 2352).Sense(),
              sense::kInvalidField)
        << "sub-channel data";
    EmuTestDrive dvd(0, MediumKind::DvdPlusRw);
    EXPECT_EQ(dvd.ReadCd(0, 1).Sense(), sense::kIncompatibleMedium);
}

} // namespace
} // namespace quarnel::emu::test
