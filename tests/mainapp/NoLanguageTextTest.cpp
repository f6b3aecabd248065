// A program folder whose settings choose a language that lang.ini does not
// name: every text is missing, and the windows show no text instead of
// built-in English ones.
#include "MainApp/setkey/CDlgSetKey.h"
#include "lang/LangText.h"
#include "tests/mainapp/WindowTestEnvironment.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

TEST(NoLanguageTextTest, TheHotkeyDialogShowsEmptyTexts) {
    windowtest::WindowTestEnvironment::Get();
    ASSERT_EQ(lang::GetLanguageName(), "");
    CDlgSetKey dialog(1, 0);
    for (const char* name : {"1049", "1", "2"}) {
        EXPECT_EQ(dialog.findChild<QAbstractButton*>(QString::fromLatin1(name))->text(), QString())
            << name;
    }
    for (const char* name : {"1028", "1052"}) {
        EXPECT_EQ(dialog.findChild<QLabel*>(QString::fromLatin1(name))->text(), QString()) << name;
    }
    EXPECT_EQ(dialog.findChild<QGroupBox*>(QStringLiteral("1053"))->title(), QString());
}

} // namespace
