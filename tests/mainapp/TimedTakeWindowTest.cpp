// The level strip in the waveform area and a timed take set in the dialog of
// the hotkey button's right-click menu: the real window, capture of the tone
// input (half scale on both channels) and a WAV take.
#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/TakeScheduleDialog.h"
#include "components/oskary/WaveView.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "tests/mainapp/WindowTestEnvironment.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using window::TakeScheduleDialog;
using windowtest::WindowTestEnvironment;

TEST(TimedTakeWindow, StripShowsTheLevelAndATimedTakeStartsOnSoundAndStopsAfterItsLength) {
    window::CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
    dialog.OnInitDialog();
    dialog.show();
    ASSERT_NE(g_hWaveIn, nullptr) << "capture of the tone input is open";
    auto* view = dialog.GetDlgItem(1038)->findChild<WaveView*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [view] { return view->StripText() == QStringLiteral("-6.0 -6.0 dBFS  clips 0"); }, 10000))
        << view->StripText().toStdString();

    QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1003)), Qt::LeftButton);
    const std::string path = WindowTestEnvironment::Get().Folder().File("timed.wav");
    qobject_cast<QLineEdit*>(dialog.GetDlgItem(1005))->setText(QString::fromStdString(path));
    QWidget* hotkeyButton = dialog.GetDlgItem(1035);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2),
                                 hotkeyButton->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(hotkeyButton, &rightClick);
    auto* menu = dialog.findChild<QMenu*>();
    ASSERT_TRUE(menu != nullptr && menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text().toStdString(), lang::GetLangString("UIText", 30));

    bool okRefusedBadLength = false;
    QTimer::singleShot(0, [&okRefusedBadLength] {
        auto* settings = qobject_cast<TakeScheduleDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(settings, nullptr);
        settings->Ticked(TakeScheduleDialog::kStopAfter)->setChecked(true);
        settings->Text(TakeScheduleDialog::kStopAfter)->setText(QStringLiteral("1h30"));
        okRefusedBadLength = !settings->OkButton()->isEnabled();
        settings->Text(TakeScheduleDialog::kStopAfter)->setText(QStringLiteral("2s"));
        settings->Ticked(TakeScheduleDialog::kStartOnSound)->setChecked(true);
        settings->Text(TakeScheduleDialog::kStartOnSound)->setText(QStringLiteral("-30"));
        settings->OkButton()->click();
    });
    menu->actions()[0]->trigger();
    EXPECT_TRUE(okRefusedBadLength);
    // The tone passes -30 dBFS at once; the take stops itself after 2 s of sound.
    EXPECT_TRUE(QTest::qWaitFor([] { return !g_notRecording.load(); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&dialog] { return dialog.GetDlgItem(1012)->isVisible(); }, 20000));
    EXPECT_EQ((std::filesystem::file_size(path) - 80) / 4, 88200u);
    EXPECT_EQ(view->StripText(), QStringLiteral("-6.0 -6.0 dBFS  clips 0"));
    dialog.OnExit();
}

} // namespace
