// The splash, the about box and the folder picker, shown for real (offscreen).

#include "controls/CBrowseDirDialog.h"
#include "controls/CDlgAbout.h"
#include "controls/CDlgLogo.h"
#include "skin/QtColor.h"
#include "skin/SkinState.h"
#include "skin/SkinTable.h"
#include "tests/skin/QtTestApplication.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class AuxWindowsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureQtApplication(); }
    void TearDown() override {
        g_skinIndex = 1;
        g_skinColor = skin::RGB(12, 16, 23);
    }
};

TEST_F(AuxWindowsTest, SplashClosesByItselfAsCancelled) {
    CDlgLogo splash;
    EXPECT_EQ(splash.size(), QSize(269, 189));
    EXPECT_NEAR(splash.windowOpacity(), 200.0 / 255.0, 0.01);
    // No input at all: the splash's own timer ends the modal loop.
    EXPECT_EQ(splash.exec(), QDialog::Rejected);
    EXPECT_FALSE(splash.isVisible());
}

TEST_F(AuxWindowsTest, AboutBoxColoursBySkinAndClosesOnLeftOrRightClick) {
    const struct {
        int index;
        QColor text;
    } cases[] = {{1, QColor(0x8D, 0x8E, 0x9D)},
                 {2, QColor(0x8D, 0x8E, 0x9D)},
                 {3, Qt::black},
                 {4, Qt::black},
                 {7, QColor(0x8D, 0x8E, 0x9D)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "skin " << c.index);
        g_skinIndex = c.index;
        if (const auto entry = skin::FindSkin(c.index)) {
            g_skinColor = entry->colour;
        }
        CDlgAbout about;
        EXPECT_EQ(about.TextControl().palette().color(QPalette::WindowText), c.text);
        EXPECT_EQ(about.TextControl().text(), CDlgAbout::AboutText().remove(QLatin1Char('\r')));
        // The background outside the picture is the skin colour.
        const QImage shown = about.grab().toImage();
        EXPECT_EQ(QColor(shown.pixel(about.width() - 3, 3)), skin::ToQColor(g_skinColor));
    }
    // A middle click leaves it open; a right click closes it, accepted; so
    // does a left click.
    for (const Qt::MouseButton closer : {Qt::RightButton, Qt::LeftButton}) {
        CDlgAbout about;
        QTimer::singleShot(0, &about, [&about, closer] {
            QTest::mouseClick(&about, Qt::MiddleButton, {}, QPoint(300, 20));
            EXPECT_TRUE(about.isVisible());
            QTest::mouseClick(&about, closer, {}, QPoint(300, 20));
        });
        EXPECT_EQ(about.exec(), QDialog::Accepted);
    }
}

TEST_F(AuxWindowsTest, BrowseWithARootThatIsNoFolderFailsAtOnce) {
    CBrowseDirDialog browser(false, QStringLiteral("ignored"));
    browser.m_strRoot = QStringLiteral("/no/such/folder/anywhere");
    EXPECT_FALSE(browser.Browse());
    EXPECT_TRUE(browser.m_strPath.isEmpty());
}

} // namespace
