// The window shape: a white pixel of the shape bitmap anywhere takes that
// pixel out of the window, every other colour keeps it, and the region built
// in one pass is the same as toggling the white pixels one by one.

#include "skin/WindowShape.h"
#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"
#include "tests/skin/QtTestApplication.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class WindowShapeTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureQtApplication(); }

    // The rule pixel by pixel: start with the window's rectangle and toggle
    // each white pixel at 0..width x 0..height, bounds included.
    static QRegion ToggledOneByOne(const QImage& shape, int width, int height) {
        QRegion region(0, 0, width, height);
        for (int x = 0; x <= width; ++x) {
            for (int y = 0; y <= height; ++y) {
                if (shape.valid(x, y) && (shape.pixel(x, y) & 0xFFFFFFu) == 0xFFFFFFu) {
                    region = region.xored(QRegion(x, y, 1, 1));
                }
            }
        }
        return region;
    }

    static QImage Speckled(int width, int height, unsigned seed) {
        QImage image(width, height, QImage::Format_RGB32);
        std::mt19937 random(seed);
        const QRgb colours[] = {qRgb(255, 255, 255), qRgb(0, 0, 0), qRgb(254, 255, 255),
                                qRgb(255, 255, 254), qRgb(90, 10, 200)};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, colours[random() % 5]);
            }
        }
        return image;
    }
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

TEST_F(WindowShapeTest, OnePassEqualsTogglingPixelByPixel) {
    const QImage shape = Speckled(40, 30, 7);
    // Window equal to, smaller than and larger than the bitmap: on a smaller
    // window the white pixels on the right and bottom bounds are toggled in;
    // beyond a smaller bitmap nothing changes.
    for (const QSize window : {QSize(40, 30), QSize(25, 17), QSize(55, 41), QSize(0, 0)}) {
        SCOPED_TRACE(testing::Message() << window.width() << "x" << window.height());
        EXPECT_EQ(skin::WindowShapeRegion(shape, window.width(), window.height()),
                  ToggledOneByOne(shape, window.width(), window.height()));
    }
}

TEST_F(WindowShapeTest, SingleWhitePixelAnywhereIsTheOnlyHole) {
    QImage shape(12, 9, QImage::Format_Mono);
    for (const QPoint hole : {QPoint(0, 0), QPoint(11, 8), QPoint(5, 0), QPoint(0, 4)}) {
        shape.fill(0); // black
        shape.setPixel(hole, 1);
        shape.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
        const QRegion region = skin::WindowShapeRegion(shape, 12, 9);
        EXPECT_EQ(region, QRegion(0, 0, 12, 9).subtracted(QRegion(hole.x(), hole.y(), 1, 1)))
            << hole.x() << "," << hole.y();
    }
    // A missing bitmap leaves the plain rectangle.
    EXPECT_EQ(skin::WindowShapeRegion(QImage(), 10, 6), QRegion(0, 0, 10, 6));
}

} // namespace
