// The main window in a program folder whose settings choose Chinese: the
// labels, the title line, the tooltips and the help file come from the real
// language files staged beside this test program.
#include "MainApp/window/CMainAppDlg.h"
#include "lang/LangText.h"
#include "tests/mainapp/ShellCalls.h"
#include "tests/mainapp/WindowTestEnvironment.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using windowtest::WindowTestEnvironment;

TEST(LanguageWindowTest, ChineseSettingsGiveTheTitleLineLabelsTipsAndHelpFile) {
    ASSERT_EQ(lang::GetLanguageName(), "chs") << "program folder " << lang::GetAppDir();
    window::CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
    dialog.OnInitDialog();
    dialog.show();

    EXPECT_TRUE(dialog.GetDlgItem(1058)->isVisible());
    EXPECT_FALSE(qobject_cast<QLabel*>(dialog.GetDlgItem(1058))->text().isEmpty());
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.GetDlgItem(1047))->text().toStdString(),
              lang::GetLangString("UIText", 1));
    EXPECT_EQ(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1004))->text().toStdString(),
              lang::GetLangString("UIText", 3));
    EXPECT_EQ(qobject_cast<QLabel*>(dialog.GetDlgItem(1032))->text().toStdString(),
              lang::GetLangString("UIText", 10));

    // The source selector's tip is texts 13 to 19, one a line; "Close disc"
    // has two lines.
    const QStringList sourceTip = dialog.GetDlgItem(1002)->toolTip().split(QLatin1Char('\n'));
    ASSERT_EQ(sourceTip.size(), 7);
    EXPECT_EQ(sourceTip.front().toStdString(), lang::GetLangString("Tip", 13));
    EXPECT_EQ(sourceTip.back().toStdString(), lang::GetLangString("Tip", 19));
    EXPECT_EQ(dialog.GetDlgItem(1015)->toolTip().split(QLatin1Char('\n')).size(), 2);
    EXPECT_EQ(dialog.GetDlgItem(1012)->toolTip().toStdString(), lang::GetLangString("Tip", 6));

    windowtest::ShellCalls shell;
    QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1034)), Qt::LeftButton);
    ASSERT_EQ(shell.m_calls.size(), 1u);
    EXPECT_EQ(shell.m_calls[0].target, lang::GetAppDir() + "lang/Sondrel-chs.chm");
}

} // namespace
