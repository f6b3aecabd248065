// The save progress window's layout for each combination of its flags.
#include "disc/ProgressDialogLayout.h"

#include <gtest/gtest.h>

namespace disc {
namespace {

const PixelRect kWindow{100, 50, 400, 200}; // 150 high: a fifth is 30, a third 50
const PixelRect kCancel{250, 150, 330, 175};
const PixelRect kFirstBar{20, 60, 280, 75};

TEST(ProgressDialogLayout, FlagsHideBarsShrinkTheWindowAndMoveCancel) {
    const ProgressDialogLayout both = LayOutProgressDialog(kWindow, kCancel, kFirstBar, true, true);
    EXPECT_EQ(both.window, kWindow);
    EXPECT_EQ(both.cancel, kCancel);
    EXPECT_TRUE(both.firstBarShown && both.secondBarShown);

    const ProgressDialogLayout first =
        LayOutProgressDialog(kWindow, kCancel, kFirstBar, true, false);
    EXPECT_EQ(first.window, (PixelRect{100, 50, 400, 170}));
    EXPECT_EQ(first.cancel, (PixelRect{250, 120, 330, 145})) << "up by 30";
    EXPECT_EQ(first.firstBar, (PixelRect{20, 100, 280, 115})) << "20 above the Cancel line";
    EXPECT_TRUE(first.firstBarShown);
    EXPECT_FALSE(first.secondBarShown);

    const ProgressDialogLayout none =
        LayOutProgressDialog(kWindow, kCancel, kFirstBar, false, false);
    EXPECT_EQ(none.window, (PixelRect{100, 50, 400, 150}));
    EXPECT_EQ(none.cancel, (PixelRect{250, 95, 330, 120})) << "up by 50 + 5";
    EXPECT_EQ(none.firstBar, kFirstBar);
    EXPECT_FALSE(none.firstBarShown || none.secondBarShown);

    const ProgressDialogLayout second =
        LayOutProgressDialog(kWindow, kCancel, kFirstBar, false, true);
    EXPECT_EQ(second.window, kWindow);
    EXPECT_FALSE(second.firstBarShown);
    EXPECT_TRUE(second.secondBarShown);
}

} // namespace
} // namespace disc
