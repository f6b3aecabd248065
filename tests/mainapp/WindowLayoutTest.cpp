// The window as a user sees it under a real X server: the skin it starts with
// when the settings cannot be read, the track list, the save progress window,
// the play bar and the tooltips, judged by the pixels they paint.
#include "MainApp/window/CMainAppDlg.h"
#include "controls/CDlgAudioPlay.h"
#include "controls/CDlgProgress1.h"
#include "controls/CListCtrlEx.h"
#include "lang/LangText.h"
#include "res/ResourceImages.h"
#include "skin/SkinState.h"
#include "tests/mainapp/WindowTestEnvironment.h"
#include "tests/support/ScopedRegistryFile.h"
#include "tests/support/TempFolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyleOptionSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

using window::CMainAppDlg;
using windowtest::WindowTestEnvironment;

// Every pixel that `control` paints opaquely appears at its place in its
// window's picture: a control cut off by its window fails.
::testing::AssertionResult PaintedWhole(QWidget& control) {
    QWidget* window = control.window();
    const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    // The control alone, on nothing: only what it paints itself is opaque.
    QImage own(control.size(), QImage::Format_ARGB32);
    own.fill(Qt::transparent);
    control.render(&own, QPoint(), QRegion(), QWidget::DrawChildren);
    const QPoint at = control.mapTo(window, QPoint(0, 0));
    int painted = 0;
    for (int y = 0; y < own.height(); ++y) {
        for (int x = 0; x < own.width(); ++x) {
            if (qAlpha(own.pixel(x, y)) != 255) {
                continue;
            }
            ++painted;
            const QPoint spot = at + QPoint(x, y);
            if (!shot.valid(spot) || shot.pixel(spot) != own.pixel(x, y)) {
                return ::testing::AssertionFailure()
                       << control.objectName().toStdString() << " is not shown at (" << x << ", "
                       << y << ") of its " << own.width() << " x " << own.height() << " pixels";
            }
        }
    }
    if (painted == 0) {
        return ::testing::AssertionFailure() << "paints nothing";
    }
    return ::testing::AssertionSuccess();
}

// Drags the slider's handle to `fraction` of its groove; returns the value.
int DragHandle(QSlider& slider, double fraction) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    const QRect handle = slider.style()->subControlRect(QStyle::CC_Slider, &option,
                                                        QStyle::SC_SliderHandle, &slider);
    const QPoint target(static_cast<int>(slider.width() * fraction), handle.center().y());
    QTest::mousePress(&slider, Qt::LeftButton, {}, handle.center());
    QTest::mouseMove(&slider, target);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, target);
    return slider.value();
}

class WindowLayoutTest : public ::testing::Test {
protected:
    WindowLayoutTest() : m_dialog(WindowTestEnvironment::Get().Drives()) {
        m_dialog.OnInitDialog();
        m_dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&m_dialog));
    }

    CMainAppDlg m_dialog;
};

TEST(WindowStartTest, UnusableSettingsStartWithSkinOne) {
    testsupport::ScopedRegistryFile settings;
    const std::string blocker = settings.Folder().Write("blocker", "not a folder");
    std::filesystem::create_directories(settings.Folder().File("folder"));
    for (const std::string& path :
         {blocker + "/sondrel/registry.ini", settings.Folder().File("folder")}) {
        SCOPED_TRACE(path);
        testsupport::ScopedRegistryFile::Use(path);
        g_skinIndex = 3;
        CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
        dialog.OnInitDialog();
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(g_skinIndex, 1);
        // The background and the Close button show skin 1's pictures.
        const QImage shot = dialog.grab().toImage();
        const skin::SkinEntry entry = *skin::FindSkin(1);
        EXPECT_EQ(shot.pixel(140, 5), res::LoadBitmap(entry.background).toImage().pixel(140, 5));
        QWidget* close = dialog.GetDlgItem(1036);
        const QPoint inside = close->geometry().center();
        EXPECT_EQ(shot.pixel(inside), res::LoadBitmap(entry.closeButton)
                                          .toImage()
                                          .pixel(inside - close->geometry().topLeft()));
    }
}

TEST_F(WindowLayoutTest, TheTrackListHasNoHeadingsAndAClickNeverScrollsItSideways) {
    auto& list = *qobject_cast<CListCtrlEx*>(m_dialog.GetDlgItem(1009));
    for (int row = 0; row < 3; ++row) {
        list.InsertItem(row, QStringLiteral("Track %1").arg(row + 1), 0);
        list.SetItemText(row, 1, QStringLiteral("A title"));
        list.SetItemText(row, 2, QStringLiteral("03:25"));
    }
    EXPECT_TRUE(list.header()->isHidden());
    EXPECT_LE(list.header()->length(), list.viewport()->width()) << "the columns fit";
    // A click in the times column near the right edge.
    const QRect times = list.visualRect(list.model()->index(0, 2));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      QPoint(list.viewport()->width() - 3, times.center().y()));
    EXPECT_EQ(list.horizontalScrollBar()->value(), 0);
    // The check boxes are where they were: a click on row 2's flips its mark.
    const bool before = list.IsItemChecked(1);
    const QRect second = list.visualRect(list.model()->index(1, 0));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(8, second.center().y()));
    EXPECT_NE(list.IsItemChecked(1), before);
}

TEST_F(WindowLayoutTest, ThePlayBarAndTheSaveProgressWindowShowEveryControlWhole) {
    auto* bar = m_dialog.GetDlgItem(1027)->findChild<CDlgAudioPlay*>();
    ASSERT_NE(bar, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(PaintedWhole(bar->Button(i))) << "button " << i;
    }
    EXPECT_TRUE(PaintedWhole(bar->Slider()));
    // The seek slider follows a drag to the middle and to the end.
    EXPECT_NEAR(DragHandle(bar->Slider(), 0.5), 50, 15);
    EXPECT_EQ(DragHandle(bar->Slider(), 1.2), 100);

    // The window of a save (the first bar only).
    CDlgProgress1 progress(&m_dialog);
    progress.SetBars(true, false);
    progress.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&progress));
    auto* cancel = progress.findChild<QPushButton*>(QStringLiteral("2"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(PaintedWhole(*cancel));
    EXPECT_TRUE(PaintedWhole(*progress.findChild<QProgressBar*>(QStringLiteral("1016"))));
}

TEST_F(WindowLayoutTest, TooltipsAreAtMost400PixelsWide) {
    for (const int id : {1015, 1002, 1011}) {
        SCOPED_TRACE(id);
        QWidget* control = m_dialog.GetDlgItem(id);
        control->setVisible(true);
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), control->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(control, &help);
        QWidget* tip = nullptr;
        ASSERT_TRUE(QTest::qWaitFor(
            [&tip] {
                for (QWidget* widget : QApplication::topLevelWidgets()) {
                    if (widget->inherits("QTipLabel") && widget->isVisible()) {
                        tip = widget;
                    }
                }
                return tip != nullptr;
            },
            10000));
        EXPECT_LE(tip->width(), 400);
        EXPECT_GT(tip->width(), 100);
        tip->hide();
    }
}

TEST_F(WindowLayoutTest, HelpOpensTheHtmlPagesWhereNoProgramReadsCompiledHelp) {
    // The desktop's own tools, stood in for by scripts first in PATH: xdg-mime
    // names a handler or none, xdg-open notes what it was asked to open.
    testsupport::TempFolder tools;
    const std::string opened = tools.File("opened");
    const std::string oldPath = std::getenv("PATH"); // NOLINT(concurrency-mt-unsafe)
    setenv("PATH", (tools.Path() + ":" + oldPath).c_str(), 1);
    tools.Write("xdg-open", "#!/bin/sh\necho \"$1\" > '" + opened + ".part'\nmv '" + opened +
                                ".part' '" + opened + "'\n");
    // The help's folder is the working folder the handler starts in.
    std::filesystem::create_directories(lang::GetAppDir() + "lang");
    const std::string help = lang::GetAppDir() + "lang/Sondrel-" + lang::GetLanguageName();
    for (const auto& [handler, expected] :
         {std::pair<std::string, std::string>{"", help + "/index.html"},
          {"chm-reader.desktop", help + ".chm"}}) {
        SCOPED_TRACE(handler);
        tools.Write("xdg-mime", "#!/bin/sh\necho " + handler + "\n");
        for (const char* tool : {"xdg-open", "xdg-mime"}) {
            std::filesystem::permissions(tools.File(tool), std::filesystem::perms::owner_all);
        }
        std::filesystem::remove(opened);
        QTest::mouseClick(qobject_cast<QAbstractButton*>(m_dialog.GetDlgItem(1034)),
                          Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(opened); }, 20000));
        EXPECT_EQ(tools.Read("opened"), expected + "\n");
    }
    setenv("PATH", oldPath.c_str(), 1);
}

TEST_F(WindowLayoutTest, TheLevelSliderSetsTheLevelByKeyAndByAClickOnItsTrack) {
    auto& slider = *qobject_cast<QSlider*>(m_dialog.GetDlgItem(1026));
    auto& sources = *qobject_cast<QComboBox*>(m_dialog.GetDlgItem(1002));
    ASSERT_GE(sources.count(), 2);
    const int chosen = sources.currentIndex();
    // Choosing another source and this one again shows the mixer's level.
    const auto levelShown = [&] {
        for (const int index : {(chosen + 1) % sources.count(), chosen}) {
            sources.setCurrentIndex(index);
            emit sources.activated(index);
        }
        return slider.value();
    };
    QTest::keyClick(&slider, Qt::Key_End);
    EXPECT_EQ(levelShown(), slider.maximum());
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(levelShown(), slider.minimum());
    QTest::mouseClick(&slider, Qt::LeftButton, {}, QPoint(slider.width() - 3, slider.height() / 2));
    const int clicked = slider.value();
    EXPECT_GT(clicked, slider.minimum());
    EXPECT_EQ(levelShown(), clicked);
}

} // namespace
