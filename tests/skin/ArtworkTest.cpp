// The shipped pictures: every numbered bitmap, icon and cursor at its size, and the window's
// shape.
#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"
#include "skin/WindowShape.h"
#include "tests/skin/QtTestApplication.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

class ArtworkTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureQtApplication(); }

    static QSize LoadedSize(const res::ArtEntry& entry) {
        switch (entry.kind) {
        case res::ArtKind::Bitmap:
            return res::LoadBitmap(entry.id).size();
        case res::ArtKind::Icon: {
            const QIcon icon = res::LoadIcon(entry.id);
            return icon.isNull() ? QSize() : icon.availableSizes().value(0);
        }
        case res::ArtKind::Cursor:
            return res::LoadCursor(entry.id).pixmap().size();
        }
        return {};
    }
};

TEST_F(ArtworkTest, EveryCataloguedPictureLoadsAtItsSize) {
    for (const res::ArtEntry& entry : res::g_artCatalog) {
        SCOPED_TRACE(testing::Message() << "picture " << entry.id);
        EXPECT_EQ(LoadedSize(entry), QSize(entry.width, entry.height));
    }
    // Numbers are unique per kind.
    for (std::size_t i = 0; i < res::g_artCatalog.size(); ++i) {
        for (std::size_t j = i + 1; j < res::g_artCatalog.size(); ++j) {
            EXPECT_FALSE(res::g_artCatalog[i].kind == res::g_artCatalog[j].kind &&
                         res::g_artCatalog[i].id == res::g_artCatalog[j].id)
                << res::g_artCatalog[i].id;
        }
    }
    EXPECT_TRUE(res::LoadBitmap(999).isNull());
    EXPECT_EQ(res::LoadCursor(999).shape(), Qt::ArrowCursor);
}

// A white pixel of the shape bitmap anywhere takes that pixel out of the window, every
// other colour keeps it.
TEST_F(ArtworkTest, TheWindowShapesWhiteIsOutsideEverythingElseInside) {
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
