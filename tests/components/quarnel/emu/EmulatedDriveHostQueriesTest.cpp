// What rippers and burners ask an audio CD writer beyond recording: READ CD
// in every CD-DA shape, READ CAPACITY, READ SUB-CHANNEL, media events, the
// buffer, speeds, format capacities, RESERVE TRACK, SEND OPC, and the write
// modes MODE SELECT takes.
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

// A closed disc holding one 375-block track (5 s) of test audio.
void RecordClosedTrack(EmuTestDrive& drive) {
    ASSERT_TRUE(drive.SelectTaoAudio(true, false).Ok());
    for (std::uint32_t lba = 0; lba < 375; lba += 25) {
        ASSERT_TRUE(drive.WriteBlocks(lba, testsupport::AudioSectors(lba, 25)).Ok());
    }
    ASSERT_TRUE(drive.CloseTrack(1).Ok());
    ASSERT_TRUE(drive.CloseSession().Ok());
}

TEST(EmulatedDriveHostQueries, ReadCdAnswersEveryCdDaRequestOfARipper) {
    EmuTestDrive drive;
    RecordClosedTrack(drive);
    const std::vector<std::uint8_t> lastWrite = testsupport::AudioSectors(350, 25);
    const std::vector<std::uint8_t> last(lastWrite.end() - 2352, lastWrite.end());
    struct Case {
        std::uint8_t byte1, fields, subChannel;
        std::size_t extraBytes; // after the 2,352 bytes of sound
    };
    for (const Case& c :
         {Case{0x04, 0x78, 0, 0}, Case{0x04, 0x10, 0, 0}, Case{0x00, 0xF8, 0, 0},
          Case{0x00, 0x58, 0, 0}, Case{0x04, 0x12, 0, 294}, Case{0x04, 0xFC, 0, 296},
          Case{0x04, 0x10, 2, 16}, Case{0x04, 0xFA, 1, 294 + 96}}) {
        SCOPED_TRACE(testing::Message()
                     << "flags " << int{c.fields} << " sub " << int{c.subChannel});
        const Result read =
            drive.Run({0xBE, c.byte1, 0, 0, 0x01, 0x76, 0, 0, 1, c.fields, c.subChannel, 0},
                      2352 + c.extraBytes);
        ASSERT_TRUE(read.Ok());
        ASSERT_EQ(read.data.size(), 2352 + c.extraBytes);
        EXPECT_TRUE(std::equal(last.begin(), last.end(), read.data.begin()));
        if (c.subChannel == 2) {
            // Track 01, index 01, 00:04:74 into the track, 00:06:74 on the disc.
            const std::vector<std::uint8_t> q(read.data.begin() + 2352, read.data.begin() + 2362);
            EXPECT_EQ(
                q, (std::vector<std::uint8_t>{0x01, 0x01, 0x01, 0, 0x04, 0x74, 0, 0, 0x06, 0x74}));
        } else if (c.subChannel == 0) {
            EXPECT_TRUE(std::all_of(read.data.begin() + 2352, read.data.end(), [](std::uint8_t b) {
                return b == 0;
            })) << "C2 pointers of a whole block are zero";
        }
    }
    EXPECT_EQ(drive.Run({0xBE, 0x04, 0, 0, 0x01, 0x79, 0, 0, 1, 0x10, 0, 0}, 2352).Sense(),
              sense::kAddressOutOfRange);

    const Result capacity = drive.Run({0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 8);
    ASSERT_TRUE(capacity.Ok());
    EXPECT_EQ(GetBe32(capacity.data, 0), 376U) << "the last block before the lead-out";

    const Result position = drive.Run({0x42, 0x00, 0x40, 0x01, 0, 0, 0, 0, 16, 0}, 16);
    ASSERT_TRUE(position.Ok());
    EXPECT_EQ(position.data[6], 1) << "the head rests on track 1 after the read";
    EXPECT_EQ(GetBe32(position.data, 8), 374U);
    EXPECT_EQ(GetBe32(position.data, 12), 374U);
    const Result catalog = drive.Run({0x42, 0x00, 0x40, 0x02, 0, 0, 0, 0, 24, 0}, 24);
    ASSERT_TRUE(catalog.Ok());
    EXPECT_EQ(catalog.data[8] & 0x80, 0) << "a recorded disc carries no catalogue number";
}

TEST(EmulatedDriveHostQueries, MediaEventsBufferSpeedsAndFormatsAsAWriterReportsThem) {
    EmuTestDrive drive(16);
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdRw));
    const Result event = drive.Run({0x4A, 0x01, 0, 0, 0x10, 0, 0, 0, 8, 0}, 8);
    ASSERT_TRUE(event.Ok());
    EXPECT_EQ(event.data[2], 4) << "media class";
    EXPECT_EQ(event.data[4], 2) << "new media";
    EXPECT_EQ(event.data[5], 0x02) << "present, tray closed";
    EXPECT_EQ(drive.Run({0x4A, 0x01, 0, 0, 0x10, 0, 0, 0, 8, 0}, 8).data[4], 0) << "reported once";
    EXPECT_EQ(drive.Run({0x4A, 0x00, 0, 0, 0x10, 0, 0, 0, 8, 0}, 8).Sense(), sense::kInvalidField);

    const Result buffer = drive.Run({0x5C, 0, 0, 0, 0, 0, 0, 0, 12, 0}, 12);
    ASSERT_TRUE(buffer.Ok());
    EXPECT_EQ(GetBe32(buffer.data, 4), 2048U * 1024);
    EXPECT_EQ(GetBe32(buffer.data, 8), 2048U * 1024) << "empty";

    const Result speeds = drive.Run({0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0x03, 0}, 8 + 4 * 16);
    ASSERT_TRUE(speeds.Ok());
    ASSERT_EQ(speeds.data.size(), 8U + 16);
    const Result page = drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64);
    EXPECT_EQ(GetBe32(speeds.data, 8 + 12), GetBe16(page.data, 8 + 34))
        << "GET PERFORMANCE and the capabilities page list the same write speed";
    ASSERT_TRUE(drive.Run({0xBB, 0, 0xFF, 0xFF, 0x06, 0xE0, 0, 0, 0, 0, 0, 0}).Ok());
    EXPECT_EQ(GetBe16(drive.Run({0x5A, 0, 0x2A, 0, 0, 0, 0, 0, 64, 0}, 64).data, 8 + 28), 1760U)
        << "SET CD SPEED 10x is below the top speed";

    EXPECT_TRUE(drive.Run({0x54, 0x01, 0, 0, 0, 0, 0, 0, 0, 0}).Ok()) << "SEND OPC";
    EXPECT_TRUE(drive.Run({0x53, 0, 0, 0, 0, 0, 0, 0x01, 0x77, 0}).Ok()) << "RESERVE TRACK";
    EXPECT_EQ(drive.Run({0x53, 0, 0, 0, 0, 0x7F, 0, 0, 0, 0}).Sense(), sense::kInvalidField)
        << "larger than the disc";

    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::DvdPlusRw));
    const Result formats = drive.Run({0x23, 0, 0, 0, 0, 0, 0, 0, 252, 0}, 252);
    ASSERT_TRUE(formats.Ok());
    ASSERT_EQ(formats.data[3], 16) << "current capacity and one format";
    EXPECT_EQ(formats.data[8], 1) << "unformatted";
    EXPECT_EQ(formats.data[12 + 4] >> 2, 0x26) << "the DVD+RW full format";
}

TEST(EmulatedDriveHostQueries, WritesOnlyWhatItCanAndPromisesOnlyWhatItAnswers) {
    EmuTestDrive drive;
    for (std::uint8_t writeType : {0x02, 0x03}) {
        std::vector<std::uint8_t> list(8 + 0x34, 0);
        list[8] = 0x05;
        list[9] = 0x32;
        list[10] = writeType;
        EXPECT_EQ(drive.Send({0x55, 0x10, 0, 0, 0, 0, 0, 0, 0x3C, 0}, list).Sense(),
                  sense::kInvalidParameter)
            << "write type " << int{writeType};
    }
    const Result features = drive.Run({0x46, 0x00, 0, 0, 0, 0, 0, 0x04, 0, 0}, 1024);
    ASSERT_TRUE(features.Ok());
    std::vector<std::uint16_t> listed;
    for (std::size_t at = 8; at + 4 <= features.data.size(); at += 4 + features.data[at + 3]) {
        listed.push_back(GetBe16(features.data, at));
    }
    EXPECT_EQ(listed,
              (std::vector<std::uint16_t>{0x0000, 0x0001, 0x0002, 0x0003, 0x001E, 0x002D, 0x0107}));
    // Each promise: media events (0002h), READ CD (001Eh), READ BUFFER
    // CAPACITY, SET CD SPEED and GET PERFORMANCE (0107h) answer.
    for (const auto& cdb :
         {std::vector<std::uint8_t>{0x4A, 0x01, 0, 0, 0x10, 0, 0, 0, 8, 0},
          std::vector<std::uint8_t>{0x5C, 0x01, 0, 0, 0, 0, 0, 0, 12, 0},
          std::vector<std::uint8_t>{0xBB, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0},
          std::vector<std::uint8_t>{0xAC, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0}}) {
        Command command;
        command.cdb.length = static_cast<std::uint8_t>(cdb.size());
        std::copy(cdb.begin(), cdb.end(), command.cdb.bytes.begin());
        std::vector<std::uint8_t> reply(64);
        command.direction = DataDirection::FromDevice;
        command.data = reply;
        EXPECT_TRUE(drive.Drive().Execute(command).Ok()) << "opcode " << int{cdb[0]};
    }
}

TEST(EmulatedDriveHostQueries, DiscChangesRaiseAUnitAttentionAndAClosedTrayABecomingReady) {
    EmuTestDrive drive;
    DriveSettings settings = drive.Drive().Settings();
    settings.unitAttention = true;
    settings.spinUpMs = 2000;
    ASSERT_TRUE(SaveDriveSettings(drive.Folder() / "drive.ini", settings));
    drive.Reopen();
    ASSERT_TRUE(drive.Drive().LoadBlank(MediumKind::CdR));
    EXPECT_TRUE(drive.Run({0x12, 0, 0, 0, 96, 0}, 96).Ok()) << "INQUIRY is not held back";
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kMediumMayHaveChanged);
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kBecomingReady)
        << "reported once; a loaded disc spins up too";
    drive.Clock().Advance(std::chrono::seconds(2));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());

    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x02, 0}).Ok());
    EXPECT_EQ(drive.Run({0x03, 0, 0, 0, 18, 0}, 18).data[12], 0x28) << "REQUEST SENSE reports it";
    ASSERT_TRUE(drive.Run({0x1B, 0, 0, 0, 0x03, 0}).Ok());
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kMediumMayHaveChanged);
    EXPECT_EQ(drive.Run({0, 0, 0, 0, 0, 0}).Sense(), sense::kBecomingReady);
    EXPECT_EQ(drive.Run({0x51, 0, 0, 0, 0, 0, 0, 0, 34, 0}, 34).Sense(), sense::kBecomingReady);
    drive.Clock().Advance(std::chrono::seconds(2));
    EXPECT_TRUE(drive.Run({0, 0, 0, 0, 0, 0}).Ok());
}

} // namespace
} // namespace quarnel::emu::test
