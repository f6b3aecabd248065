// Pressed CDs from CUE sheets: missing or ragged BIN files, several files with a data track,
// and a sheet's CDTEXTFILE. The shared real sheet and malformed ones are read through the
// disc layer (tests/disc/TrackListTest.cpp).
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CdTextPacks.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/CdText.h"
#include "components/quarnel/mmc/Crc16.h"
#include "components/quarnel/mmc/Msf.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace quarnel::emu::test {
namespace {

class PressedCd : public ::testing::Test {
protected:
    void SetUp() override {
        m_vectors = testsupport::TestVectors();
        if (m_vectors.empty()) {
            GTEST_SKIP() << "../shared/testvectors is absent";
        }
    }
    std::filesystem::path m_vectors;
};

TEST(PressedCdFiles, MissingOrRaggedBinIsRefused) {
    testsupport::TempFolder folder;
    {
        std::ofstream cue(folder.File("x.cue"));
        cue << "FILE \"x.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    }
    EmuTestDrive drive(0, MediumKind::None);
    std::string error;
    EXPECT_FALSE(drive.Drive().LoadImage(folder.File("x.cue"), &error));
    EXPECT_NE(error.find("not found"), std::string::npos) << error;
    {
        std::ofstream bin(folder.File("X.BIN"), std::ios::binary);
        bin << std::string(2352 * 3 + 5, '\0');
    }
    EXPECT_FALSE(drive.Drive().LoadImage(folder.File("x.cue"), &error));
    EXPECT_NE(error.find("2352"), std::string::npos) << error;
}

TEST(PressedCdFiles, SeveralFilesAndTracksWithDataTrack) {
    testsupport::TempFolder folder;
    {
        std::ofstream a(folder.File("a.bin"), std::ios::binary);
        a << std::string(2352 * 10, 'a');
        std::ofstream b(folder.File("b.bin"), std::ios::binary);
        b << std::string(2352 * 5, 'b');
        std::ofstream cue(folder.File("two.cue"));
        cue << "FILE \"C:\\Music\\a.bin\" BINARY\r\n  TRACK 01 AUDIO\r\n    INDEX 01 00:00:00\r\n"
               "  TRACK 02 AUDIO\r\n    INDEX 00 00:00:04\r\n    INDEX 01 00:00:06\r\n"
               "FILE \"b.bin\" BINARY\r\n  TRACK 03 MODE1/2352\r\n    INDEX 01 00:00:00\r\n";
    }
    EmuTestDrive drive(0, MediumKind::None);
    std::string error;
    ASSERT_TRUE(drive.Drive().LoadImage(folder.File("two.cue"), &error)) << error;
    const DiscState state = drive.Drive().State();
    ASSERT_EQ(state.tracks.size(), 3U);
    EXPECT_EQ(state.tracks[1].start, 6U);
    EXPECT_EQ(state.tracks[1].length, 4U);
    EXPECT_EQ(state.tracks[2].start, 10U);
    EXPECT_EQ(state.tracks[2].control, 4);
    EXPECT_EQ(drive.ReadCd(10, 1).Sense(), sense::kIllegalModeForTrack) << "CD-DA from data";
    const Result any = drive.Run({0xBE, 0, 0, 0, 0, 10, 0, 0, 1, 0x10, 0, 0}, 2352);
    ASSERT_TRUE(any.Ok());
    EXPECT_EQ(any.data[0], 'b');
}

TEST_F(PressedCd, CdTextFileOfTheSheetGivesTheDiscItsTexts) {
    testsupport::TempFolder folder;
    std::filesystem::copy_file(m_vectors / "cdda.bin",
                               std::filesystem::path(folder.Path()) / "cdda.bin");
    std::filesystem::copy_file(m_vectors / "cdtext.cdt",
                               std::filesystem::path(folder.Path()) / "Texts.CDT");
    std::ofstream(std::filesystem::path(folder.Path()) / "t.cue")
        << "CDTEXTFILE \"texts.cdt\"\nFILE \"cdda.bin\" BINARY\n"
           "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
           "  TRACK 02 AUDIO\n    TITLE \"Own title\"\n    INDEX 01 00:01:00\n"
           "  TRACK 03 AUDIO\n    INDEX 01 00:02:00\n";
    EmuTestDrive drive(0, MediumKind::None);
    std::string error;
    ASSERT_TRUE(drive.Drive().LoadImage(std::filesystem::path(folder.Path()) / "t.cue", &error))
        << error;

    const Result reply = drive.Run({0x43, 0x02, 0x05, 0, 0, 0, 0, 0x10, 0x00, 0}, 4096);
    ASSERT_TRUE(reply.Ok());
    const Parsed<CdText> text = ParseCdTextReply(reply.data);
    ASSERT_TRUE(text.Ok());
    ASSERT_FALSE(text.value.blocks.empty());
    const CdTextBlock& block = text.value.blocks[0];
    EXPECT_EQ(block.Utf8(cdtext::kTitle, 0), "Joyful Nights");
    EXPECT_EQ(block.Utf8(cdtext::kTitle, 1), "Song of Joy");
    EXPECT_EQ(block.Utf8(cdtext::kTitle, 2), "Own title") << "the sheet's own text wins";
    EXPECT_EQ(block.Utf8(cdtext::kPerformer, 3), "Mia Kitten");

    std::ofstream(std::filesystem::path(folder.Path()) / "bad.cue")
        << "CDTEXTFILE \"none.cdt\"\nFILE \"cdda.bin\" BINARY\n"
           "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
    EXPECT_FALSE(drive.Drive().LoadImage(std::filesystem::path(folder.Path()) / "bad.cue", &error));
    EXPECT_NE(error.find("none.cdt"), std::string::npos) << error;
}

} // namespace
} // namespace quarnel::emu::test
