// Colours chosen by skin number, at the skins and the out-of-range indexes
// that the windows meet (a stored 7, an unreadable 0).

#include "skin/SkinColors.h"
#include "skin/SkinState.h"

#include <gtest/gtest.h>

namespace {

using namespace skin;

TEST(SkinColorsTest, LabelsReadoutsBannerAndAboutTextFollowTheSkin) {
    const COLORREF grey = RGB(141, 142, 157);
    // Skin 1: green read-outs, grey-blue labels, white banner, grey about text.
    EXPECT_EQ(ReadoutTextColor(1), RGB(0, 226, 0));
    EXPECT_EQ(LabelTextColor(1), grey);
    EXPECT_EQ(BannerTextColor(1), kWhite);
    EXPECT_EQ(AboutTextColor(1), 0x9D8E8Du);
    EXPECT_EQ(HotkeyLabelColor(1), kWhite);
    // Skin 2: black read-outs but grey-blue labels.
    EXPECT_EQ(ReadoutTextColor(2), kBlack);
    EXPECT_EQ(LabelTextColor(2), grey);
    EXPECT_EQ(AboutTextColor(2), 0x9D8E8Du);
    EXPECT_EQ(HotkeyLabelColor(2), kBlack);
    // Skins 3 and 4: everything black.
    for (const int index : {3, 4}) {
        EXPECT_EQ(ReadoutTextColor(index), kBlack);
        EXPECT_EQ(LabelTextColor(index), kBlack);
        EXPECT_EQ(BannerTextColor(index), kBlack);
        EXPECT_EQ(AboutTextColor(index), kBlack);
        EXPECT_EQ(HotkeyLabelColor(index), std::nullopt);
    }
    // Out of range: defaults, except the banner, which is black above 1.
    for (const int index : {0, 7, -3}) {
        EXPECT_EQ(ReadoutTextColor(index), std::nullopt);
        EXPECT_EQ(TrackListColors(index).has_value(), false);
        EXPECT_EQ(LabelTextColor(index), grey);
        EXPECT_EQ(AboutTextColor(index), 0x9D8E8Du);
    }
    EXPECT_EQ(BannerTextColor(7), kBlack);
    EXPECT_EQ(BannerTextColor(0), kWhite);
    EXPECT_EQ(TrackListColors(2)->background, RGB(24, 26, 37));
    EXPECT_EQ(TrackListColors(4)->text, RGB(162, 246, 166));
}

TEST(SkinColorsTest, SkinButtonCyclesAndAStrayIndexGoesBackToOne) {
    int index = 1;
    for (const int expected : {2, 3, 4, 1}) {
        index = NextSkinIndex(index);
        EXPECT_EQ(index, expected);
    }
    EXPECT_EQ(NextSkinIndex(7), 1);
    EXPECT_EQ(FindSkin(7), std::nullopt);
    EXPECT_EQ(g_skinColor, RGB(12, 16, 23));
    EXPECT_EQ(GetRValue(FindSkin(3)->colour), 249u);
    EXPECT_EQ(GetBValue(FindSkin(4)->colour), 218u);
}

} // namespace
