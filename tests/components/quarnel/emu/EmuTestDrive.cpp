#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/DriveFolders.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace quarnel::emu::test {

SenseCode Result::Sense() const {
    return {static_cast<std::uint8_t>(outcome.sense[2] & 0x0F), outcome.sense[12],
            outcome.sense[13]};
}

EmuTestDrive::EmuTestDrive(std::uint32_t writeSpeedX, MediumKind medium) {
    std::string error;
    m_folder = CreateDriveFolder(m_temp.Path(), "drive", writeSpeedX, &error);
    EXPECT_FALSE(m_folder.empty()) << error;
    // Commands are scripted right after each disc change.
    DriveSettings settings = *LoadDriveSettings(m_folder / kDriveSettingsFileName);
    settings.unitAttention = false;
    settings.spinUpMs = 0;
    EXPECT_TRUE(SaveDriveSettings(m_folder / kDriveSettingsFileName, settings));
    Reopen();
    if (medium != MediumKind::None) {
        EXPECT_TRUE(m_drive->LoadBlank(medium));
    }
}

void EmuTestDrive::Reopen() {
    m_drive.reset();
    std::string error;
    m_drive = EmulatedDrive::Open(m_folder, m_clock, &error);
    ASSERT_NE(m_drive, nullptr) << error;
}

Result EmuTestDrive::Run(std::initializer_list<std::uint8_t> cdb, std::size_t replyBytes) {
    Result result;
    result.data.assign(replyBytes, 0xEE);
    Command command;
    std::copy(cdb.begin(), cdb.end(), command.cdb.bytes.begin());
    command.cdb.length = static_cast<std::uint8_t>(cdb.size());
    command.direction = replyBytes == 0 ? DataDirection::None : DataDirection::FromDevice;
    command.data = result.data;
    result.outcome = m_drive->Execute(command);
    result.data.resize(result.outcome.transferred);
    return result;
}

Result EmuTestDrive::Send(std::initializer_list<std::uint8_t> cdb,
                          std::vector<std::uint8_t> payload) {
    Result result;
    result.data = std::move(payload);
    Command command;
    std::copy(cdb.begin(), cdb.end(), command.cdb.bytes.begin());
    command.cdb.length = static_cast<std::uint8_t>(cdb.size());
    command.direction = DataDirection::ToDevice;
    command.data = result.data;
    result.outcome = m_drive->Execute(command);
    return result;
}

Result EmuTestDrive::SelectTaoAudio(bool bufe, bool keepSessionOpen) {
    std::vector<std::uint8_t> list(8 + 0x34, 0);
    std::uint8_t* page = list.data() + 8;
    page[0] = 0x05;
    page[1] = 0x32;
    page[2] = static_cast<std::uint8_t>((bufe ? 0x40 : 0) | 0x01); // TAO
    page[3] = keepSessionOpen ? 0xC0 : 0x00;                       // track mode 0: audio
    page[4] = 0x00;                                                // raw 2,352-byte blocks
    page[14] = 0x00;
    page[15] = 150;
    const auto length = static_cast<std::uint8_t>(list.size());
    return Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, length, 0}, list);
}

Result EmuTestDrive::WriteBlocks(std::uint32_t lba, const std::vector<std::uint8_t>& data) {
    const auto blocks = static_cast<std::uint16_t>(data.size() / 2352);
    return Send({0x2A, 0, static_cast<std::uint8_t>(lba >> 24),
                 static_cast<std::uint8_t>(lba >> 16), static_cast<std::uint8_t>(lba >> 8),
                 static_cast<std::uint8_t>(lba), 0, static_cast<std::uint8_t>(blocks >> 8),
                 static_cast<std::uint8_t>(blocks), 0},
                data);
}

std::uint32_t EmuTestDrive::NextWritable() {
    const Result info = Run({0x52, 0x01, 0, 0, 0, 0xFF, 0, 0, 36, 0}, 36);
    EXPECT_TRUE(info.Ok());
    EXPECT_EQ(info.data.size(), 36U);
    EXPECT_EQ(info.data[7] & 0x01, 1) << "next writable address valid";
    return GetBe32(info.data, 12);
}

Result EmuTestDrive::CloseTrack(std::uint8_t track) {
    return Run({0x5B, 0, 0x01, 0, 0, track, 0, 0, 0, 0});
}

Result EmuTestDrive::CloseSession() {
    return Run({0x5B, 0, 0x02, 0, 0, 0, 0, 0, 0, 0});
}

Result EmuTestDrive::ReadCd(std::uint32_t lba, std::uint32_t blocks) {
    return Run({0xBE, 0x04, static_cast<std::uint8_t>(lba >> 24),
                static_cast<std::uint8_t>(lba >> 16), static_cast<std::uint8_t>(lba >> 8),
                static_cast<std::uint8_t>(lba), static_cast<std::uint8_t>(blocks >> 16),
                static_cast<std::uint8_t>(blocks >> 8), static_cast<std::uint8_t>(blocks), 0x10, 0,
                0},
               std::size_t{blocks} * 2352);
}

} // namespace quarnel::emu::test
