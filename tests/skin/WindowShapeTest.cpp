// The window shape: a white pixel of the shape bitmap anywhere takes that
// pixel out of the window, every other colour keeps it.

#include "skin/WindowShape.h"
#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"
#include "tests/skin/QtTestApplication.h"

#include <gtest/gtest.h>

namespace {

class WindowShapeTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureQtApplication(); }
};

TEST_F(WindowShapeTest, RealShapeBitmapWhiteIsOutsideEverythingElseInside) {
    const QImage shape = res::LoadBitmap(res::kWindowShapeBitmap).toImage();
    ASSERT_EQ(shape.size(), QSize(280, 522));
    const QRegion region = skin::LoadWindowShape(280, 522);
    int outside = 0;
    for (int y = -1; y <= 522; ++y) {
        for (int x = -1; x <= 280; ++x) {
            const bool inWindow = x >= 0 && y >= 0 && x < 280 && y < 522;
            const bool white = shape.valid(x, y) && (shape.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
            ASSERT_EQ(region.contains(QPoint(x, y)), inWindow && !white) << x << "," << y;
            outside += inWindow && white ? 1 : 0;
        }
    }
    // Rounded corners and the outline's notches are cut away; the body stays.
    EXPECT_GT(outside, 0);
    EXPECT_FALSE(region.contains(QPoint(0, 521)));
    EXPECT_FALSE(region.contains(QPoint(279, 0)));
    EXPECT_TRUE(region.contains(QPoint(140, 260)));
    EXPECT_EQ(region.boundingRect(), QRect(0, 0, 280, 522));
}

} // namespace
