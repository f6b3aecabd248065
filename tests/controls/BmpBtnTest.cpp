#include "controls/CBmpBtn.h"

#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The test bitmaps, 40 x 20 unless said otherwise.
constexpr std::uint32_t kRed = 9001;
constexpr std::uint32_t kGreen = 9002;
constexpr std::uint32_t kBlue = 9003;
// 64 x 48: yellow in its top-left 40 x 20, magenta elsewhere.
constexpr std::uint32_t kLargeYellow = 9004;
constexpr std::uint32_t kMissing = 9999;

class BmpBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_button.setGeometry(0, 0, 40, 20);
        m_button.SetBitmaps(kRed, kGreen, kBlue);
        m_button.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_button));
    }

    // What the button has on screen now (its own paint is run afresh).
    QImage Shown() { return m_button.grab().toImage(); }

    // True when every pixel of `image` is `colour`.
    static bool AllOf(const QImage& image, QColor colour) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) != colour) {
                    return false;
                }
            }
        }
        return true;
    }

    CBmpBtn m_button;
};

TEST_F(BmpBtnTest, StateSelectsTheBitmapAndDisabledWinsOverPressed) {
    EXPECT_TRUE(AllOf(Shown(), QColor(200, 0, 0)));
    QTest::mousePress(&m_button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(m_button.isDown());
    EXPECT_TRUE(AllOf(Shown(), QColor(0, 200, 0)));
    m_button.setEnabled(false);
    m_button.setDown(true);
    EXPECT_TRUE(AllOf(Shown(), QColor(0, 0, 200)));
    m_button.setEnabled(true);
    m_button.setDown(false);
    m_button.SetBitmaps(kGreen, kGreen, kGreen);
    EXPECT_TRUE(AllOf(Shown(), QColor(0, 200, 0)));
    m_button.setEnabled(false);
    EXPECT_TRUE(AllOf(Shown(), QColor(0, 200, 0)));
}

TEST_F(BmpBtnTest, LargerBitmapIsCutAtRightAndBottomAndTheBackgroundShowsWhereNoneCovers) {
    m_button.SetBitmaps(kLargeYellow, kLargeYellow, kLargeYellow);
    const QImage shown = Shown();
    EXPECT_EQ(shown.size(), QSize(40, 20));
    EXPECT_TRUE(AllOf(shown, QColor(230, 230, 0)));

    // On a skinned window: a bitmap smaller than its button leaves the
    // window's background visible around it, and so does a missing one.
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor(0, 128, 128));
    window.setPalette(palette);
    window.resize(80, 40);
    CBmpBtn button(&window);
    button.setGeometry(0, 0, 60, 30);
    button.SetBitmaps(kRed, kRed, kRed);
    const QImage onWindow = window.grab().toImage();
    EXPECT_TRUE(AllOf(onWindow.copy(0, 0, 40, 20), QColor(200, 0, 0)));
    EXPECT_TRUE(AllOf(onWindow.copy(40, 0, 20, 30), QColor(0, 128, 128)));
    EXPECT_TRUE(AllOf(onWindow.copy(0, 20, 60, 10), QColor(0, 128, 128)));
    button.SetBitmaps(kMissing, kMissing, kMissing);
    EXPECT_TRUE(AllOf(window.grab().toImage().copy(0, 0, 60, 30), QColor(0, 128, 128)));
}

} // namespace
