// The emulated drive's files: refused cue sheets, CD-Text packs against another encoder's,
// drive.ini, and pressed CDs made from sheets.
#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/emu/CdTextPacks.h"
#include "components/quarnel/emu/CueParser.h"
#include "components/quarnel/emu/DiscStateFile.h"
#include "components/quarnel/emu/DriveSettingsFile.h"
#include "components/quarnel/emu/EmulatedDrive.h"
#include "components/quarnel/mmc/CdText.h"
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace quarnel::emu::test {
namespace {

TEST(CueParser, RefusesMalformedSheetsNamingTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 0:0\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 -1:00:00\n", "line 3"},
        {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1"},
        {"FILE \"a.bin\" BINARY\nTRACK 02 AUDIO\nINDEX 01 00:00:00\nTRACK 04 AUDIO\n", "line 4"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nTRACK 02 AUDIO\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\n", "no INDEX 01"},
        {"FILE \"a.bin\" BINARY\n", "no tracks"},
        {"FILE \"a.bin BINARY\n", "line 1"},
        {"CATALOG 12345\n", "line 1"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 MODE3_FORM1\n", "line 2"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nFLAGS LOUD\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 02 00:00:00\n", "line 3"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:01:00\nINDEX 02 00:00:00\n", "line 4"},
        {"FILE \"a.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nWHATEVER\n", "line 4"},
        {"INDEX 01 00:00:00\n", "line 1"},
    };
    for (const auto& [text, where] : cases) {
        const CueParseResult result = ParseCueSheet(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_NE(result.error.find(where), std::string::npos) << text << " -> " << result.error;
    }
}

DiscState ThreeTracks(std::vector<std::string> titles, std::vector<std::string> performers) {
    DiscState state;
    state.medium = MediumKind::PressedCd;
    state.title = titles[0];
    state.performer = performers[0];
    for (std::uint32_t i = 1; i < titles.size(); ++i) {
        state.tracks.push_back({i, 1, i * 1000, 1000, 0, titles[i], performers[i]});
    }
    return state;
}

TEST(CdTextPacks, TitleAndPerformerPacksMatchAnotherEncoder) {
    const std::filesystem::path vectors = testsupport::TestVectors();
    if (vectors.empty()) {
        GTEST_SKIP() << "../shared/testvectors is absent";
    }
    const std::optional<std::string> cdt = ReadWholeFile(vectors / "cdtext.cdt");
    ASSERT_TRUE(cdt.has_value());
    const DiscState state = ThreeTracks(
        {"Joyful Nights", "Song of Joy", "Humpty Dumpty", "Mee Owwww"},
        {"United Cat Orchestra", "Felix and The Purrs", "Catwalk Beauties", "Mia Kitten"});
    const std::vector<CdTextPack> packs = BuildCdTextPacks(state);
    std::size_t compared = 0;
    for (std::size_t i = 0; i < packs.size() && (i + 1) * 18 <= cdt->size(); ++i) {
        const auto theirs = reinterpret_cast<const std::uint8_t*>(cdt->data()) + i * 18;
        if (theirs[0] != 0x80 && theirs[0] != 0x81) {
            break;
        }
        EXPECT_TRUE(std::equal(packs[i].begin(), packs[i].end(), theirs)) << "pack " << i;
        ++compared;
    }
    EXPECT_EQ(compared, 5U + 6U) << "all title and performer packs";
}

TEST(DriveSettingsFile, MissingKeysKeepDefaultsAndBadValuesAreRefused) {
    testsupport::TempFolder folder;
    const auto path = folder.File("drive.ini");
    ASSERT_TRUE(WriteFileAtomically(path, "; hand-written\n[drive]\nproduct = My Burner \n"));
    const std::optional<DriveSettings> loaded = LoadDriveSettings(path);
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->product, "My Burner");
    EXPECT_EQ(loaded->writeSpeedX, DriveSettings{}.writeSpeedX);
    for (const char* bad : {"[drive]\nwrite_speed=fast\n", "[drive]\ncapabilities=cd-r,laser\n",
                            "[faults]\nunreadable=9-3\n", "[faults]\nnot_ready=yes\n",
                            "[drive]\ntime_scale=-1\n", "[drive]\nwrite_speed=53\n"}) {
        ASSERT_TRUE(WriteFileAtomically(path, bad));
        EXPECT_FALSE(LoadDriveSettings(path).has_value()) << bad;
    }
    EXPECT_FALSE(LoadDriveSettings(folder.File("none.ini")).has_value());
}

// Pressed CDs from CUE sheets: missing or ragged BIN files, several files with a data track,
// and a sheet's CDTEXTFILE. (The shared real sheet and malformed ones are read through the
// disc layer, tests/disc/TrackListTest.cpp.)
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
