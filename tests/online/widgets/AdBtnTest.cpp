// The banner strip on a real (offscreen) window: it rotates through the
// messages it downloaded from a loopback HTTP server, keeps the background it
// first saw, and a press opens web links through the shell service but never
// a file path.

#include "online/widgets/CAdBtn.h"
#include "tests/online/LoopbackTest.h"
#include "tests/support/RecordingShell.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using Request = testsupport::RecordingShell::Request;

class AdBtnTest : public onlinetest::LoopbackTest {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "online_widgets_test";
        static char* argv[] = {name, nullptr};
        s_application = new QApplication(argc, argv);
    }
    static void TearDownTestSuite() {
        delete s_application;
        s_application = nullptr;
    }

    void SetUp() override {
        LoopbackTest::SetUp();
        std::filesystem::create_directory(m_temp.File("showinfo"));
        m_window.resize(200, 60);
        QPalette palette = m_window.palette();
        palette.setColor(QPalette::Window, Qt::red);
        m_window.setPalette(palette);
        m_banner.setGeometry(0, 30, 200, 20);
        m_window.show();
    }

    void Start(const std::string& bannerFile) {
        m_server.Serve("//showinfo//sondrel//eng.ini", bannerFile);
        m_banner.StartInfo({m_temp.Path(), m_server.Address(), m_temp.Path()}, "eng");
    }
    // Runs the event loop until the strip shows `text` (bounded).
    bool AwaitText(const std::string& text) {
        return QTest::qWaitFor([&] { return m_banner.InfoText() == text; }, 20000);
    }
    void Press() { QTest::mousePress(&m_banner, Qt::LeftButton, {}, QPoint(5, 5)); }

    static QApplication* s_application;
    testsupport::RecordingShell m_shell;
    QWidget m_window;
    CAdBtn m_banner{&m_window};
};

QApplication* AdBtnTest::s_application = nullptr;

TEST_F(AdBtnTest, RotatesThroughTheMessagesAndOpensOnlyWebLinks) {
    Start("[Info Set]\nCount=3\nTime=20\n"
          "Info1_str=News\nInfo1_link=https://127.0.0.1/news\n"
          "Info2_str=Tool\nInfo2_link=/usr/bin/xterm\n"
          "Info3_str=Plain\n");
    EXPECT_EQ(m_banner.InfoText(), "");

    ASSERT_TRUE(AwaitText("News"));
    Press();
    ASSERT_TRUE(AwaitText("Tool"));
    EXPECT_EQ(m_banner.InfoLink(), "/usr/bin/xterm");
    Press();
    ASSERT_TRUE(AwaitText("Plain"));
    Press();
    ASSERT_TRUE(AwaitText("News"));

    EXPECT_EQ(m_shell.Requests(),
              (std::vector<Request>{{"open", "https://127.0.0.1/news", {}, ""}}));
}

TEST_F(AdBtnTest, KeepsTheBackgroundItFirstSawAndDrawsTheTextInItsColour) {
    m_banner.SetInfoTextColor(Qt::black);
    Start("[Info Set]\nCount=1\nTime=20\nInfo1_str=MMMMMMMMMMMMMMMMMMMMMMMM\n");
    ASSERT_TRUE(AwaitText("MMMMMMMMMMMMMMMMMMMMMMMM"));

    // The parent turns blue afterwards; the strip keeps the red it saved.
    QPalette palette = m_window.palette();
    palette.setColor(QPalette::Window, Qt::blue);
    m_window.setPalette(palette);
    const QImage shown = m_banner.grab().toImage();
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));
    bool hasText = false;
    for (int x = 0; x < shown.width(); ++x) {
        hasText = hasText || shown.pixelColor(x, shown.height() / 2) == QColor(Qt::black);
    }
    EXPECT_TRUE(hasText);
}

} // namespace
