// The main window in each skin: background, colours, shape and the Skin
// button's restart. Each skin's window is also saved as a picture in the build
// folder (screenshots/skin-N.png) for a person to look at.
#include "MainApp/window/CMainAppDlg.h"
#include "lang/LangText.h"
#include "res/ResourceImages.h"
#include "skin/QtColor.h"
#include "skin/SkinColors.h"
#include "skin/SkinSetting.h"
#include "skin/SkinState.h"
#include "tests/mainapp/ShellCalls.h"
#include "tests/mainapp/WindowTestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using window::CMainAppDlg;
using windowtest::WindowTestEnvironment;

class SkinWindowTest : public ::testing::Test {
protected:
    SkinWindowTest() { WindowTestEnvironment::Get(); }
    ~SkinWindowTest() override { skin::SkinIndexSetting(1); }

    static QColor TextColour(CMainAppDlg& dialog, int id) {
        return dialog.GetDlgItem(id)->palette().color(QPalette::WindowText);
    }
};

TEST_F(SkinWindowTest, EachSkinPaintsItsBackgroundColoursAndShape) {
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(SONDREL_SCREENSHOT_DIR)));
    for (int index = 1; index <= skin::kSkinCount; ++index) {
        SCOPED_TRACE(index);
        skin::SkinIndexSetting(index);
        CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
        dialog.OnInitDialog();
        dialog.show();
        const QImage shot = dialog.grab().toImage();
        EXPECT_TRUE(shot.save(QStringLiteral(SONDREL_SCREENSHOT_DIR "/skin-%1.png").arg(index)));

        EXPECT_EQ(g_skinIndex, index) << "read from the settings";
        const skin::SkinEntry entry = *skin::FindSkin(index);
        EXPECT_EQ(g_skinColor, entry.colour);
        // A spot no control covers shows the skin's background picture.
        const QPoint spot(140, 5);
        ASSERT_EQ(dialog.childAt(spot), nullptr);
        EXPECT_EQ(shot.pixel(spot), res::LoadBitmap(entry.background).toImage().pixel(spot));
        EXPECT_EQ(TextColour(dialog, 1017), skin::ToQColor(*skin::ReadoutTextColor(index)));
        EXPECT_EQ(TextColour(dialog, 1047), skin::ToQColor(skin::LabelTextColor(index)));
        EXPECT_EQ(TextColour(dialog, 1003), skin::ToQColor(skin::LabelTextColor(index)));
        // The shape bitmap's white corner is cut away; the middle stays.
        EXPECT_FALSE(dialog.mask().contains(QPoint(0, 0)));
        EXPECT_TRUE(dialog.mask().contains(QPoint(140, 261)));
    }
}

TEST_F(SkinWindowTest, AStoredIndexOutsideTheTableLoadsNoSkinAndTheSkinButtonGoesBackToOne) {
    skin::SkinIndexSetting(3);
    { CMainAppDlg loadsSkinThree(WindowTestEnvironment::Get().Drives()); }
    skin::SkinIndexSetting(7);
    CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
    dialog.OnInitDialog();
    dialog.show();
    EXPECT_EQ(g_skinIndex, 7) << "not corrected at start-up";
    EXPECT_EQ(g_skinColor, skin::FindSkin(3)->colour) << "the colour stays";
    EXPECT_EQ(TextColour(dialog, 1017),
              QApplication::palette(dialog.GetDlgItem(1017)).color(QPalette::WindowText));

    windowtest::ShellCalls shell;
    QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1044)), Qt::LeftButton);
    EXPECT_EQ(g_skinIndex, 1);
    EXPECT_EQ(skin::SkinIndexSetting(0), 1) << "stored for the restarted program";
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    ASSERT_EQ(shell.m_calls.size(), 1u);
    EXPECT_TRUE(shell.m_calls[0].start);
    EXPECT_EQ(shell.m_calls[0].target, lang::GetAppDir() + "Sondrel");
    EXPECT_EQ(shell.m_calls[0].workingFolder, lang::GetAppDir());
}

} // namespace
