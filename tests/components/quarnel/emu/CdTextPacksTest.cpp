// CD-Text packs against packs made by another encoder, and the repeat marker.
#include "components/quarnel/emu/CdTextPacks.h"

#include "components/quarnel/emu/AtomicFile.h"
#include "components/quarnel/mmc/ByteOrder.h"
#include "components/quarnel/mmc/Crc16.h"
#include "tests/components/quarnel/emu/EmuTestDrive.h"

#include <gtest/gtest.h>

namespace quarnel::emu {
namespace {

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
    const std::filesystem::path vectors = test::TestVectors();
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

TEST(CdTextPacks, RepeatedTextBecomesATabAndSizeInfoCounts) {
    const DiscState state = ThreeTracks({"Album", "Same", "Same", "Other"}, {"", "", "", ""});
    const std::vector<CdTextPack> packs = BuildCdTextPacks(state);
    std::string text;
    for (const CdTextPack& pack : packs) {
        EXPECT_EQ(static_cast<std::uint16_t>(~Crc16Ccitt(std::span(pack).first(16))),
                  GetBe16(pack, 16));
        EXPECT_NE(pack[0], 0x81) << "no performer packs when there are no performers";
        if (pack[0] == 0x80) {
            text.append(pack.begin() + 4, pack.begin() + 16);
        }
    }
    EXPECT_EQ(text.substr(0, 19), std::string("Album\0Same\0\t\0Other\0", 19));
    ASSERT_EQ(packs.size(), 2U + 3);
    const CdTextPack& info = packs[2];
    EXPECT_EQ(info[0], 0x8F);
    EXPECT_EQ(info[5], 1) << "first track";
    EXPECT_EQ(info[6], 3) << "last track";
    EXPECT_EQ(info[8], 2) << "two title packs";
    EXPECT_EQ(packs[3][4 + 7], 3) << "three size packs";
    EXPECT_EQ(packs[3][4 + 8], 4) << "last sequence number of block 0";
    EXPECT_EQ(packs[4][4 + 4], 0x09) << "English";
}

TEST(CdTextPacks, NoTextNoPacks) {
    EXPECT_TRUE(BuildCdTextPacks(ThreeTracks({"", "", "", ""}, {"", "", "", ""})).empty());
}

} // namespace
} // namespace quarnel::emu
