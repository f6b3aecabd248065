// The shipped pictures: every numbered bitmap, icon and cursor exists at its
// size, the skin table and the buttons name pictures that exist, and the
// shared buttons fill their controls of the main dialog template exactly.

#include "res/ArtworkCatalog.h"
#include "res/MainDialogTemplate.h"
#include "res/ResourceImages.h"
#include "skin/SkinTable.h"
#include "tests/skin/QtTestApplication.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>

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

    static bool HasBitmap(unsigned id) {
        return std::any_of(res::g_artCatalog.begin(), res::g_artCatalog.end(), [id](const auto& e) {
            return e.kind == res::ArtKind::Bitmap && e.id == id;
        });
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

TEST_F(ArtworkTest, EveryNumberTheWindowsUseIsAPictureOfTheRightSize) {
    const QSize background(res::kMainWindowWidthPx, res::kMainWindowHeightPx);
    for (const skin::SkinEntry& entry : skin::g_skinTable) {
        SCOPED_TRACE(testing::Message() << "skin " << entry.index);
        EXPECT_EQ(res::LoadBitmap(entry.background).size(), background);
        EXPECT_EQ(res::LoadBitmap(entry.skinButton).size(), QSize(16, 16));
        EXPECT_EQ(res::LoadBitmap(entry.minButton).size(), QSize(28, 25));
        EXPECT_EQ(res::LoadBitmap(entry.closeButton).size(), QSize(25, 25));
        EXPECT_EQ(res::LoadBitmap(entry.helpButton).size(), QSize(26, 25));
        EXPECT_EQ(res::LoadBitmap(entry.aboutButton).size(), QSize(27, 25));
    }
    // Buttons that look the same in every skin fill their control exactly.
    const struct {
        int control;
        std::initializer_list<unsigned> ids;
    } shared[] = {{1006, {152}},      {1010, {153, 154, 170}}, {1011, {155, 156, 173}},
                  {1012, {157, 158}}, {1013, {167, 168}},      {1014, {161, 162, 171}}};
    for (const auto& button : shared) {
        const res::DialogRect rect = res::MainDialogControlPixels(button.control).value();
        for (const unsigned id : button.ids) {
            EXPECT_EQ(res::LoadBitmap(id).size(), QSize(rect.cx, rect.cy)) << id;
        }
    }
    for (unsigned id = 135; id <= 144; ++id) {
        EXPECT_TRUE(HasBitmap(id)) << id;
    }
    const QCursor hand = res::LoadCursor(res::kHandCursor);
    EXPECT_EQ(hand.hotSpot(), QPoint(res::kHandHotSpotX, res::kHandHotSpotY));
    // The shape is one bit per pixel.
    EXPECT_EQ(QImage(QStringLiteral(":/res/bitmap/176.png")).depth(), 1);
}

TEST_F(ArtworkTest, TemplateConvertsToTheWindowSizeAndKeepsControlsInside) {
    const res::DialogRect window =
        res::DluToPixels({0, 0, res::kMainDialogWidthDlu, res::kMainDialogHeightDlu});
    EXPECT_EQ(window.cx, res::kMainWindowWidthPx);
    EXPECT_EQ(window.cy, res::kMainWindowHeightPx);
    for (const res::TemplateControl& control : res::g_mainDialogControls) {
        const res::DialogRect px = res::MainDialogControlPixels(control.id).value();
        EXPECT_GE(px.x, 0) << control.id;
        EXPECT_LE(px.x + px.cx, res::kMainWindowWidthPx) << control.id;
        // Drop-down lists reach below the window when open; their closed box does not.
        if (control.id != 1002 && control.id != 1008) {
            EXPECT_LE(px.y + px.cy, res::kMainWindowHeightPx) << control.id;
        }
    }
    // Record and Stop share one place.
    const res::DialogRect record = res::MainDialogControlPixels(1012).value();
    const res::DialogRect stop = res::MainDialogControlPixels(1013).value();
    EXPECT_EQ(QRect(record.x, record.y, record.cx, record.cy),
              QRect(stop.x, stop.y, stop.cx, stop.cy));
    EXPECT_FALSE(res::MainDialogControlPixels(4242).has_value());
}

} // namespace
