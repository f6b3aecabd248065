// The erase and save progress windows shown offscreen: keys that must not
// close them, the save window's layout by its flags, and its Cancel question.
#include "MainApp/lang/LangText.h"
#include "controls/CDlgEProgress.h"
#include "controls/CDlgProgress1.h"
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

} // namespace
