// CD-Text: reference discs decoded by another tool, and made-up packs with bad CRCs and
// double-byte blocks (other replies are replayed by the fuzzer's corpus).
#include "components/quarnel/mmc/CdText.h"
#include "components/quarnel/mmc/Crc16.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace quarnel {
namespace {

using V = std::vector<std::uint8_t>;

const std::filesystem::path g_vectors = testsupport::TestVectors();

// ---- made-up packs ---------------------------------------------------------

struct PackWriter {
    V bytes;
    std::uint8_t sequence = 0;

    // Adds packs of one type carrying `text` (strings with their NULs),
    // starting at `track`, the way an encoder lays them out.
    void Add(std::uint8_t type, std::uint8_t block, std::uint8_t track, const std::string& text,
             bool doubleByte = false) {
        std::size_t at = 0;
        std::size_t charPos = 0;
        while (at < text.size()) {
            V pack(18, 0);
            pack[0] = type;
            pack[1] = track;
            pack[2] = sequence++;
            pack[3] = static_cast<std::uint8_t>((doubleByte ? 0x80 : 0) | (block << 4) |
                                                std::min<std::size_t>(charPos, 15));
            for (std::size_t i = 0; i < 12 && at < text.size(); ++i, ++at) {
                pack[4 + i] = static_cast<std::uint8_t>(text[at]);
                const std::size_t width = doubleByte ? 2 : 1;
                const bool terminator = text[at] == '\0' && (!doubleByte || (at % 2 == 1));
                if (terminator) {
                    ++track;
                    charPos = 0;
                } else if ((at + 1) % width == 0 || !doubleByte) {
                    ++charPos;
                }
            }
            Seal(pack);
            bytes.insert(bytes.end(), pack.begin(), pack.end());
        }
    }

    static void Seal(V& pack) {
        const std::uint16_t crc =
            static_cast<std::uint16_t>(~Crc16Ccitt(std::span(pack).first(16)));
        pack[16] = static_cast<std::uint8_t>(crc >> 8);
        pack[17] = static_cast<std::uint8_t>(crc);
    }
};

std::string S(const char* text, std::size_t length) {
    return {text, length};
}

TEST(CdTextPacks, BadPackIsSkippedAndTheStringItCutIsDropped) {
    PackWriter writer;
    // Pack 0: "Disc\0Twelve c", pack 1: "hars long\0Th", pack 2: "ree\0".
    writer.Add(cdtext::kTitle, 0, 0, S("Disc\0Twelve chars long\0Three\0", 30));
    ASSERT_EQ(writer.bytes.size(), 3 * 18U);
    writer.bytes[18 + 5] ^= 0x01; // damage pack 1
    const auto parsed = DecodeCdTextPacks(writer.bytes);
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.badCrcPacks, 1U);
    const CdTextBlock& block = parsed.value.blocks[0];
    EXPECT_EQ(block.Text(cdtext::kTitle, 0), "Disc");
    EXPECT_EQ(block.Text(cdtext::kTitle, 1), "") << "its end was in the lost pack";
    // Pack 2 starts in the middle of track 2's text (character position 2):
    // the part before its terminator is not a whole string either.
    EXPECT_EQ(block.Text(cdtext::kTitle, 2), "");
}

TEST(CdTextPacks, PackAfterALostOneStartingAFreshStringIsKept) {
    PackWriter writer;
    writer.Add(cdtext::kTitle, 0, 0, S("Disc title 1\0", 13)); // fills a pack and one byte
    writer.Add(cdtext::kTitle, 0, 2, S("Second\0", 7));
    ASSERT_EQ(writer.bytes.size(), 3 * 18U);
    writer.bytes[18 + 16] ^= 0xFF; // the pack holding only the terminator
    const auto parsed = DecodeCdTextPacks(writer.bytes);
    ASSERT_TRUE(parsed.Ok());
    const CdTextBlock& block = parsed.value.blocks[0];
    EXPECT_EQ(block.Text(cdtext::kTitle, 0), "");
    EXPECT_EQ(block.Text(cdtext::kTitle, 2), "Second");
}

TEST(CdTextPacks, DoubleByteBlock) {
    PackWriter writer;
    // Two-byte characters, each string ending in 00 00; a lone tab is 09 09.
    writer.Add(cdtext::kTitle, 1, 0, S("\x82\xa0\x82\xa2\0\0\t\t\0\0", 10), true);
    const auto parsed = DecodeCdTextPacks(writer.bytes);
    ASSERT_TRUE(parsed.Ok());
    const CdTextBlock& block = parsed.value.blocks[0];
    EXPECT_EQ(block.number, 1);
    EXPECT_TRUE(block.doubleByte);
    EXPECT_EQ(block.Text(cdtext::kTitle, 0), "\x82\xa0\x82\xa2");
    EXPECT_EQ(block.Text(cdtext::kTitle, 1), "\x82\xa0\x82\xa2");
    EXPECT_EQ(block.Utf8(cdtext::kTitle, 0), "??");
}

// ---- reference discs -------------------------------------------------------

using Key = std::tuple<int, std::uint8_t, int>; // block, pack type, track

std::map<Key, std::string> ReadReference(const std::filesystem::path& path) {
    static const std::map<std::string, std::uint8_t> kFields = {
        {"TITLE", cdtext::kTitle},           {"PERFORMER", cdtext::kPerformer},
        {"SONGWRITER", cdtext::kSongwriter}, {"COMPOSER", cdtext::kComposer},
        {"ARRANGER", cdtext::kArranger},     {"MESSAGE", cdtext::kMessage},
        {"UPC_EAN", cdtext::kUpcIsrc},       {"ISRC", cdtext::kUpcIsrc}};
    std::map<Key, std::string> reference;
    std::ifstream in(path);
    std::string line;
    int block = -1;
    int track = 0;
    const std::regex language(R"(^Language (\d+) )");
    const std::regex trackLine(R"(^CD-TEXT for Track +(\d+):)");
    const std::regex field(R"(^\t([A-Z_]+): (.*)$)");
    std::smatch match;
    while (std::getline(in, line)) {
        if (std::regex_search(line, match, language)) {
            block = std::stoi(match[1]);
        } else if (line.rfind("CD-TEXT for Disc:", 0) == 0) {
            track = 0;
        } else if (std::regex_search(line, match, trackLine)) {
            track = std::stoi(match[1]);
        } else if (std::regex_match(line, match, field) && kFields.count(match[1]) != 0) {
            reference[{block, kFields.at(match[1]), track}] = match[2];
        }
    }
    return reference;
}

V ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares every text of the given types for the disc and its tracks, both
// ways: what the reference shows and what it leaves empty.
void ExpectMatchesReference(const std::string& name, const std::vector<std::uint8_t>& types) {
    const auto cdt = g_vectors / (name + ".cdt");
    const auto info = g_vectors / (name + ".cd-info.txt");
    if (!std::filesystem::exists(cdt) || !std::filesystem::exists(info)) {
        GTEST_SKIP() << "test vectors not found in " << g_vectors;
    }
    const auto parsed = DecodeCdTextPacks(ReadFile(cdt));
    ASSERT_TRUE(parsed.Ok());
    EXPECT_EQ(parsed.value.badCrcPacks, 0U);
    const auto reference = ReadReference(info);
    ASSERT_FALSE(reference.empty());
    std::map<int, int> lastTrack;
    for (const auto& [key, text] : reference) {
        lastTrack[std::get<0>(key)] = std::max(lastTrack[std::get<0>(key)], std::get<2>(key));
    }
    ASSERT_EQ(parsed.value.blocks.size(), lastTrack.size());
    for (const auto& [number, last] : lastTrack) {
        const CdTextBlock* block = parsed.value.Block(static_cast<std::uint8_t>(number));
        ASSERT_NE(block, nullptr) << "block " << number;
        EXPECT_EQ(block->lastTrack, last);
        for (const std::uint8_t type : types) {
            for (int track = 0; track <= last; ++track) {
                const auto found = reference.find({number, type, track});
                const std::string expected = found == reference.end() ? "" : found->second;
                EXPECT_EQ(block->Utf8(type, static_cast<std::size_t>(track)), expected)
                    << name << " block " << number << " type " << int{type} << " track " << track;
            }
        }
    }
}

const std::vector<std::uint8_t> g_allTypes = {
    cdtext::kTitle,    cdtext::kPerformer, cdtext::kSongwriter, cdtext::kComposer,
    cdtext::kArranger, cdtext::kMessage,   cdtext::kUpcIsrc};

TEST(CdTextVectors, TwoLanguageDisc) {
    ExpectMatchesReference("cdtext", g_allTypes);
}

TEST(CdTextVectors, SecondTwoLanguageDisc) {
    ExpectMatchesReference("cdtext-libburnia", g_allTypes);
}

// The reference tool gives up on this disc's songwriter, composer and
// arranger packs (it calls their tab use invalid), so only titles and
// performers, which it decodes in full, are compared.
TEST(CdTextVectors, PressedDiscWithTabs) {
    ExpectMatchesReference("cdtext-krosis", {cdtext::kTitle, cdtext::kPerformer});
}

} // namespace
} // namespace quarnel
