// The erase and save progress windows and the play bar shown offscreen: keys
// that must not close them, the save window's layout by its flags (one bar, none), its
// Cancel question, the play bar's controls.
#include "controls/CDlgAudioPlay.h"
#include "controls/CDlgEProgress.h"
#include "controls/CDlgProgress1.h"
#include "lang/LangText.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ProgressDialogs, EraseWindowIgnoresEscapeAndStartsEmpty) {
    CDlgEProgress dialog;
    dialog.SetRange(0, 10);
    dialog.SetPos(7);
    dialog.show();
    EXPECT_EQ(dialog.GetPos(), 0) << "showing resets the bar";
    EXPECT_EQ(dialog.Bar().maximum(), 100);
    EXPECT_EQ(dialog.Label().text(), QStringLiteral("Erasing......"));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "only the owner's timer ends it";
    dialog.SetPos(42);
    EXPECT_EQ(dialog.GetPos(), 42);
}

TEST(ProgressDialogs, SaveWindowLayoutAndCancelQuestion) {
    testsupport::ScriptedMessageBox box({util::IDNO, util::IDYES});
    const testsupport::ScopedMessageBoxHost host(box);
    CDlgProgress1 dialog;
    const int fullHeight = dialog.height();
    dialog.SetCaption(QStringLiteral("Saving..."));
    dialog.SetBars(true, false);
    dialog.show();
    EXPECT_FALSE(dialog.SecondBar().isVisible());
    EXPECT_TRUE(dialog.FirstBar().isVisible());
    EXPECT_EQ(dialog.height(), fullHeight - fullHeight / 5);
    EXPECT_EQ(dialog.FirstBar().geometry().top(), dialog.CancelButton().geometry().top() - 20);
    EXPECT_EQ(dialog.Caption().text(), QStringLiteral("Saving..."));
    EXPECT_EQ(dialog.CancelButton().text().toStdString(), lang::GetLangString("UIText", 15));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(&dialog.CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible()) << "No goes on saving";
    QTest::mouseClick(&dialog.CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(box.ShownCount(), 2U);
    EXPECT_EQ(box.ShownMessages()[0].text, lang::GetLangString("Message", 29));

    dialog.SetBars(false, false);
    EXPECT_EQ(dialog.height(), fullHeight - fullHeight / 3);
}

TEST(ProgressDialogs, PlayBarFillsItsPlaceholderAndPlaysNothingWithoutADisc) {
    QWidget placeholder;
    placeholder.resize(400, 40);
    CDlgAudioPlay bar(&placeholder);
    EXPECT_EQ(bar.size(), placeholder.size());
    EXPECT_EQ(bar.Slider().maximum(), 100);
    placeholder.show();
    bar.show(); // the main window shows it at start-up
    QTest::keyClick(&bar, Qt::Key_Escape);
    EXPECT_TRUE(bar.isVisible());
    QTest::mouseClick(&bar.Button(1), Qt::LeftButton);
    EXPECT_FALSE(bar.TimerRunning()) << "no device, no list: nothing plays";
    QTest::mouseClick(&bar.Button(2), Qt::LeftButton);
    EXPECT_TRUE(bar.Player().IsPaused());
    QTest::mouseClick(&bar.Button(3), Qt::LeftButton);
    EXPECT_FALSE(bar.TimerRunning());
}

} // namespace
