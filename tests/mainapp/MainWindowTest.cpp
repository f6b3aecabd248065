// The main window through its real layers: start-up, keys, dragging, browsing, a WAV take,
// erasing and saving on an emulated drive, questions, disc changes made elsewhere, and each
// skin (saved as screenshots/skin-N.png in the build folder for a person to look at).
#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/QtMessageBoxHost.h"
#include "components/quarnel/emu/SteadyClock.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "controls/CDlgProgress1.h"
#include "controls/CListCtrlEx.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "res/ResourceImages.h"
#include "skin/QtColor.h"
#include "skin/SkinColors.h"
#include "skin/SkinSetting.h"
#include "skin/SkinState.h"
#include "tests/mainapp/ShellCalls.h"
#include "tests/mainapp/WindowTestEnvironment.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "tests/support/ScriptedMessageBox.h"
#include "tests/support/TempFolder.h"
#include "util/MessageBox.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <QDir>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using window::CMainAppDlg;
using windowtest::WindowTestEnvironment;

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : m_dialog(WindowTestEnvironment::Get().Drives()) {}

    QWidget* Item(int id) { return m_dialog.GetDlgItem(id); }
    // Starts and shows the window; the emulated drive that became the
    // current device, or null.
    quarnel::emu::EmulatedDrive* ShowWithEmulatedDrive() {
        m_dialog.OnInitDialog();
        m_dialog.show();
        quarnel::CDevCmdROM* device = m_dialog.CurrentDevice();
        return device == nullptr ? nullptr : quarnel::RegisterEmulatedDrives().Find(*device);
    }
    QAbstractButton* Button(int id) { return qobject_cast<QAbstractButton*>(Item(id)); }

    CMainAppDlg m_dialog;
};

TEST_F(MainWindowTest, StartUpLeavesAFramelessWindowInCdModeWithFiveTrackColumns) {
    EXPECT_TRUE(m_dialog.OnInitDialog());
    EXPECT_EQ(m_dialog.size(), QSize(280, 522));
    EXPECT_TRUE(m_dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(m_dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_EQ(m_dialog.windowTitle(), QStringLiteral("Sondrel"));
    EXPECT_EQ(Item(4242), nullptr);

    EXPECT_TRUE(Button(1004)->isChecked());
    EXPECT_FALSE(Button(1003)->isChecked());
    EXPECT_FALSE(m_dialog.IsToFileChecked());
    EXPECT_FALSE(Item(1005)->isEnabled());
    EXPECT_FALSE(Item(1006)->isEnabled());
    EXPECT_FALSE(Item(1013)->isEnabled());
    EXPECT_TRUE(Item(1013)->isHidden());
    EXPECT_TRUE(Item(1014)->isHidden());
    // English: labels from the language file, no Chinese title line.
    EXPECT_TRUE(Item(1058)->isHidden());

    auto* list = qobject_cast<CListCtrlEx*>(Item(1009));
    ASSERT_EQ(list->GetColumnCount(), 5);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("TRACK INDEX"));
    EXPECT_GT(list->columnWidth(0), 0);
    EXPECT_EQ(list->columnWidth(3), 0);
    EXPECT_EQ(list->columnWidth(4), 0);

    // The tone input's virtual mixer lists sources; the emulated writer is
    // the first drive and becomes the current device.
    EXPECT_GT(m_dialog.RecordSourceCount(), 0);
    auto* drives = qobject_cast<QComboBox*>(Item(1008));
    ASSERT_GE(drives->count(), 1);
    EXPECT_EQ(drives->currentIndex(), 0);
    EXPECT_EQ(drives->itemText(0).mid(1, 2), QStringLiteral(": "));
    EXPECT_NE(m_dialog.CurrentDevice(), nullptr);
    EXPECT_TRUE(g_notRecording.load());
    // The play bar sits inside its placeholder, not in a window of its own.
    auto* playBar = Item(1027)->findChild<QDialog*>();
    ASSERT_NE(playBar, nullptr);
    EXPECT_FALSE(playBar->isWindow());
    EXPECT_EQ(playBar->geometry(), Item(1027)->rect());
}

TEST_F(MainWindowTest, EnterAndEscapeDoNothingInAnyControl) {
    m_dialog.OnInitDialog();
    m_dialog.show();
    QTest::mouseClick(Button(1003), Qt::LeftButton);
    for (const int id : {1036, 1012, 1005, 1002, 1003}) {
        Item(id)->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(Item(id), key);
            EXPECT_TRUE(m_dialog.isVisible()) << "control " << id << " key " << key;
        }
    }
    EXPECT_EQ(m_dialog.result(), QDialog::Rejected) << "nothing ended the dialog";
    QTest::mouseClick(Button(1036), Qt::LeftButton);
    EXPECT_FALSE(m_dialog.isVisible());
}

TEST_F(MainWindowTest, DraggingTheClientAreaMovesTheWindowWithoutAWindowManager) {
    m_dialog.OnInitDialog();
    m_dialog.move(100, 100);
    m_dialog.show();
    const QPoint grip(140, 5); // a free spot of the client area
    ASSERT_EQ(m_dialog.childAt(grip), nullptr);
    const QPoint start = m_dialog.mapToGlobal(grip);
    const auto send = [this](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, m_dialog.mapFromGlobal(global), global, Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&m_dialog, &event);
    };
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(30, 40), Qt::LeftButton);
    send(QEvent::MouseButtonRelease, start + QPoint(30, 40), Qt::NoButton);
    EXPECT_EQ(m_dialog.pos(), QPoint(130, 140));
    send(QEvent::MouseMove, start + QPoint(60, 60), Qt::NoButton);
    EXPECT_EQ(m_dialog.pos(), QPoint(130, 140)) << "no move once the button is up";
}

TEST_F(MainWindowTest, BrowsingToAnExistingFileDeletesItAtOnce) {
    m_dialog.OnInitDialog();
    m_dialog.show();
    QTest::mouseClick(Button(1003), Qt::LeftButton);
    const std::string path = WindowTestEnvironment::Get().Folder().Write("old take.mp3", "ID3");

    // Answers the save dialog with the existing file and confirms overwriting it.
    QString filters;
    bool accepted = false;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &m_dialog, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal); files != nullptr && !accepted) {
            accepted = true;
            filters = files->nameFilters().join(QLatin1Char(';'));
            // Typed into the name field, as a user would; the dialog's list
            // fills in the background.
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))
                ->setText(QString::fromStdString(path));
            // Later, outside this tick: the overwrite question runs its own loop.
            QMetaObject::invokeMethod(
                files, [files] { static_cast<QDialog*>(files)->accept(); }, Qt::QueuedConnection);
        } else if (auto* question = qobject_cast<QMessageBox*>(modal)) {
            question->button(QMessageBox::Yes)->click();
        }
    });
    answerer.start(20);
    QTest::mouseClick(Button(1006), Qt::LeftButton);
    answerer.stop();

    EXPECT_EQ(filters, QStringLiteral("mp3 Files(*.mp3);wave Files(*.wav)"));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(m_dialog.OutputPathText(), path);
}

TEST_F(MainWindowTest, AWavTakeRunsFromRecordToStopWithTheReadoutsCounting) {
    m_dialog.OnInitDialog();
    m_dialog.show();
    ASSERT_NE(g_hWaveIn, nullptr) << "capture of the tone input is open";
    QTest::mouseClick(Button(1003), Qt::LeftButton);
    const std::string path = WindowTestEnvironment::Get().Folder().File("take.wav");
    qobject_cast<QLineEdit*>(Item(1005))->setText(QString::fromStdString(path));

    QTest::mouseClick(Button(1012), Qt::LeftButton);
    EXPECT_FALSE(g_notRecording.load());
    EXPECT_TRUE(Item(1013)->isVisible());
    EXPECT_FALSE(Item(1012)->isVisible());
    auto* time = qobject_cast<QLabel*>(Item(1017));
    EXPECT_TRUE(QTest::qWaitFor([time] { return time->text() == QStringLiteral("Time: 00:00:04"); },
                                10000));
    EXPECT_TRUE(qobject_cast<QLabel*>(Item(1031))->text().startsWith(QStringLiteral("Length: ")));

    QTest::mouseClick(Button(1013), Qt::LeftButton);
    EXPECT_TRUE(g_notRecording.load());
    EXPECT_TRUE(Item(1012)->isVisible());
    EXPECT_FALSE(Item(1013)->isVisible());
    std::ifstream file(path, std::ios::binary);
    char riff[4] = {};
    file.read(riff, 4);
    EXPECT_EQ(std::string(riff, 4), "RIFF");
    EXPECT_GT(std::filesystem::file_size(path), 44u + 176400u) << "at least a second of sound";

    // Exit (a hidden button) closes capture and ends the window.
    m_dialog.OnExit();
    EXPECT_EQ(g_hWaveIn, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([this] { return !m_dialog.isVisible(); }));
}

TEST_F(MainWindowTest, EraseAsksRunsItsProgressWindowOnTimerThreeAndEnds) {
    quarnel::emu::EmulatedDrive* drive = ShowWithEmulatedDrive();
    ASSERT_NE(drive, nullptr);
    ASSERT_TRUE(drive->LoadBlank(quarnel::emu::MediumKind::CdRw));
    QCoreApplication::processEvents();

    testsupport::ScriptedMessageBox messages({util::IDOK});
    testsupport::ScopedMessageBoxHost host(messages);
    bool sawProgress = false;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&sawProgress] {
        sawProgress = sawProgress || qobject_cast<QDialog*>(QApplication::activeModalWidget());
    });
    watcher.start(20);
    QTest::mouseClick(Button(1010), Qt::LeftButton); // returns when the drive is done
    watcher.stop();
    ASSERT_GE(messages.ShownCount(), 1u);
    EXPECT_EQ(messages.ShownMessages()[0].text, lang::GetLangString("Message", 4));
    EXPECT_TRUE(sawProgress);
    ASSERT_TRUE(drive->LoadBlank(quarnel::emu::MediumKind::CdR));
}

TEST_F(MainWindowTest, SaveAsWavWritesEachCheckedTrackOfAPressedCdIntoTheChosenFolder) {
    constexpr std::size_t kSectorBytes = 2352;
    constexpr std::size_t kTrackSectors = 200; // 00:02:50 in minutes, seconds and frames
    constexpr std::size_t kWavHeaderBytes = 44;
    testsupport::TempFolder source;
    std::string audio(2 * kTrackSectors * kSectorBytes, '\0');
    for (std::size_t i = 0; i < audio.size(); ++i) {
        audio[i] = static_cast<char>((i * 7 + i / kSectorBytes) & 0xff);
    }
    source.Write("two.bin", audio);
    const std::string sheet =
        source.Write("two.cue", "FILE \"two.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                "  TRACK 02 AUDIO\n    INDEX 01 00:02:50\n");

    quarnel::emu::EmulatedDrive* drive = ShowWithEmulatedDrive();
    ASSERT_NE(drive, nullptr);
    auto* list = qobject_cast<CListCtrlEx*>(Item(1009));
    ASSERT_TRUE(drive->RemoveDisc());
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->GetItemCount() == 0; }, 10000));
    std::string error;
    ASSERT_TRUE(drive->LoadImage(sheet, &error)) << error;
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->GetItemCount() == 2; }, 10000));

    testsupport::TempFolder target;
    std::string chosen = target.Path();
    chosen.pop_back(); // chosen without the trailing '/'
    m_dialog.SetFolderChooser([&chosen] { return QString::fromStdString(chosen); });
    testsupport::ScriptedMessageBox messages({util::IDNO}); // No: WAV
    testsupport::ScopedMessageBoxHost host(messages);
    QString caption;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, &watcher, [&caption] {
        if (auto* progress = dynamic_cast<CDlgProgress1*>(QApplication::activeModalWidget())) {
            caption = progress->Caption().text();
        }
    });
    watcher.start(20);
    QTest::mouseClick(Button(1011), Qt::LeftButton); // returns when timer 6 ends the window
    watcher.stop();

    ASSERT_EQ(messages.ShownCount(), 1u);
    EXPECT_EQ(messages.ShownMessages()[0].text, lang::GetLangString("Message", 26));
    EXPECT_EQ(caption, QStringLiteral("Saving..."));
    for (std::size_t track = 0; track < 2; ++track) {
        const std::string name = "Track" + std::to_string(track + 1) + ".wav";
        const std::string file = target.Read(name);
        ASSERT_EQ(file.size(), kWavHeaderBytes + kTrackSectors * kSectorBytes) << name;
        EXPECT_TRUE(
            file.substr(kWavHeaderBytes) ==
            audio.substr(track * kTrackSectors * kSectorBytes, kTrackSectors * kSectorBytes))
            << name << " differs from the disc";
    }
    ASSERT_TRUE(drive->LoadBlank(quarnel::emu::MediumKind::CdR));
}

TEST_F(MainWindowTest, HelpOpensTheLanguagesHelpFileInTheLangFolder) {
    m_dialog.OnInitDialog();
    m_dialog.show();
    windowtest::ShellCalls shell;
    QTest::mouseClick(Button(1034), Qt::LeftButton);
    ASSERT_EQ(shell.m_calls.size(), 1u);
    // No language is configured beside the test program: the name is empty.
    const std::string folder = lang::GetAppDir() + "lang";
    EXPECT_FALSE(shell.m_calls[0].start);
    EXPECT_EQ(shell.m_calls[0].target, folder + "/Sondrel-eng.chm");
    EXPECT_EQ(shell.m_calls[0].workingFolder, folder);
}

// On the GUI thread the program's host shows the box itself (a worker's questions are in
// WorkerQuestionTest.cpp).
TEST(QtMessageBoxHostTest, OnTheGuiThreadTheBoxIsShownDirectly) {
    WindowTestEnvironment::Get();
    window::QtMessageBoxHost host;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &answerer, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::Yes)->click();
        }
    });
    answerer.start(10);
    EXPECT_EQ(host.Show("Save?", util::MB_YESNOCANCEL), util::IDYES);
}

TEST_F(MainWindowTest, FollowsDiscChangesAnotherProgramMakesInItsDrive) {
    quarnel::emu::EmulatedDrive* drive = ShowWithEmulatedDrive();
    ASSERT_NE(drive, nullptr);
    auto* list = qobject_cast<CListCtrlEx*>(Item(1009));
    // A pressed CD of two audio tracks of 4 s each.
    const testsupport::TempFolder temp;
    const std::filesystem::path folder(temp.Path());
    std::ofstream(folder / "two.bin", std::ios::binary) << std::string(2 * 300 * 2352, 'a');
    std::ofstream(folder / "two.cue") << "FILE \"two.bin\" BINARY\n"
                                         "  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                         "  TRACK 02 AUDIO\n    INDEX 01 00:04:00\n";
    // The same drive folder driven from elsewhere, as another process would.
    std::unique_ptr<quarnel::emu::EmulatedDrive> other = quarnel::emu::EmulatedDrive::Open(
        drive->Name(), std::make_shared<quarnel::emu::SteadyClock>());
    ASSERT_NE(other, nullptr);

    std::string error;
    ASSERT_TRUE(other->LoadImage(folder / "two.cue", &error)) << error;
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->GetItemCount() == 2; }, 20000))
        << "the window read the disc loaded elsewhere";
    ASSERT_TRUE(other->RemoveDisc());
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->GetItemCount() == 0; }, 20000))
        << "the window saw the disc go";
}

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
