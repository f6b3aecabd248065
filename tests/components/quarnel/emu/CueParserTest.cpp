// CUE sheets: what real ones contain, and what must be refused.
#include "components/quarnel/emu/CueParser.h"

#include <gtest/gtest.h>

namespace quarnel::emu {
namespace {

TEST(CueParser, ReadsDiscAndTrackTexts) {
    const CueParseResult result =
        ParseCueSheet("\xEF\xBB\xBFREM GENRE Rock\r\nTITLE \"An Album\"\r\nPERFORMER Someone\r\n"
                      "CATALOG 0000010271955\r\nfile \"Disc One.bin\" binary\r\n"
                      "  TRACK 01 AUDIO\r\n    TITLE \"First\"\r\n    FLAGS DCP PRE\r\n"
                      "    ISRC ABCDE1234567\r\n    INDEX 01 00:00:00\r\n"
                      "  TRACK 02 AUDIO\r\n    PREGAP 00:02:00\r\n    INDEX 00 03:10:70\r\n"
                      "    INDEX 01 03:12:00\r\n    INDEX 02 03:20:00\r\n");
    ASSERT_TRUE(result.ok) << result.error;
    const CueSheet& sheet = result.sheet;
    EXPECT_EQ(sheet.title, "An Album");
    EXPECT_EQ(sheet.performer, "Someone");
    EXPECT_EQ(sheet.catalog, "0000010271955");
    ASSERT_EQ(sheet.files.size(), 1U);
    EXPECT_EQ(sheet.files[0].name, "Disc One.bin");
    EXPECT_EQ(sheet.files[0].type, "BINARY");
    ASSERT_EQ(sheet.tracks.size(), 2U);
    EXPECT_EQ(sheet.tracks[0].title, "First");
    EXPECT_EQ(sheet.tracks[0].control, 3);
    EXPECT_EQ(sheet.tracks[0].isrc, "ABCDE1234567");
    EXPECT_EQ(sheet.tracks[1].index0Frames, (3U * 60 + 10) * 75 + 70);
    EXPECT_EQ(sheet.tracks[1].index1Frames, (3U * 60 + 12) * 75);
    EXPECT_EQ(sheet.tracks[1].pregapFrames, 150U);
    EXPECT_EQ(sheet.remarks.at(0), "GENRE Rock");
}

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

TEST(CueParser, NinetyNineTracksAndNoMore) {
    std::string text = "FILE \"a.bin\" BINARY\n";
    for (int track = 1; track <= 99; ++track) {
        text += "TRACK " + std::to_string(track) + " AUDIO\nINDEX 01 " + std::to_string(track) +
                ":00:00\n";
    }
    EXPECT_TRUE(ParseCueSheet(text).ok);
    text += "TRACK 100 AUDIO\nINDEX 01 99:00:00\n";
    EXPECT_FALSE(ParseCueSheet(text).ok);
}

} // namespace
} // namespace quarnel::emu
