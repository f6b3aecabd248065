// The main window in a program folder whose settings choose Chinese: the
// labels, the title line, the tooltips and the help file come from the real
// language files staged beside this test program.
#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/QtMessageBoxHost.h"
#include "controls/CBrowseDirDialog.h"
#include "lang/LangText.h"
#include "tests/mainapp/ShellCalls.h"
#include "tests/mainapp/WindowTestEnvironment.h"
#include "util/MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

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

// Runs `answer` on the first visible top-level window of type T that shows up.
template <typename T, typename Answer> void AnswerWhenShown(QTimer& watcher, Answer answer) {
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [answer] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* shown = qobject_cast<T*>(window); shown != nullptr && shown->isVisible()) {
                answer(*shown);
                return;
            }
        }
    });
    watcher.start(20);
}

TEST(LanguageWindowTest, TheFolderBrowserAndMessageBoxesSpeakChinese) {
    WindowTestEnvironment::Get();
    QTimer watcher;
    QString title;
    AnswerWhenShown<QFileDialog>(watcher, [&title](QFileDialog& browser) {
        title = browser.windowTitle();
        browser.reject();
    });
    CBrowseDirDialog browser(false, QString());
    EXPECT_FALSE(browser.Browse());
    EXPECT_EQ(title.toStdString(), lang::GetLangString("UIText", 29));
    EXPECT_FALSE(title.isEmpty());

    watcher.disconnect();
    QStringList captions;
    AnswerWhenShown<QMessageBox>(watcher, [&captions](QMessageBox& box) {
        for (const QMessageBox::StandardButton button :
             {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}) {
            captions << box.button(button)->text();
        }
        box.button(QMessageBox::No)->click();
    });
    window::QtMessageBoxHost host;
    EXPECT_EQ(host.Show("?", util::MB_YESNOCANCEL), util::IDNO);
    EXPECT_EQ(captions, (QStringList{QString::fromStdString(lang::GetLangString("UIText", 27)),
                                     QString::fromStdString(lang::GetLangString("UIText", 28)),
                                     QString::fromStdString(lang::GetLangString("UIText", 15))}));
}

} // namespace
