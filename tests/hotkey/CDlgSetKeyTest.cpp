// The hotkey settings dialog on the offscreen platform: it shows what the
// registry holds, maps its key list to virtual-key codes and back, writes on
// OK only, stays open when it cannot write, takes the skin's colours, and the
// window's button re-arms the hotkey when it closes; a toggle from the
// library's thread runs on the window's thread.
#include "MainApp/setkey/CDlgSetKey.h"
#include "MainApp/hotkey/HotkeyCallback.h"
#include "MainApp/hotkey/HotkeyKeyList.h"
#include "MainApp/hotkey/HotkeySettings.h"
#include "MainApp/hotkey/HotkeyState.h"
#include "MainApp/setkey/HotkeyButton.h"
#include "MainApp/setkey/QueuedPost.h"
#include "engine/RecordingState.h"
#include "tests/hotkey/HotkeyTestKit.h"
#include "tests/support/ScopedRegistryFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <memory>
#include <thread>

namespace {

using hotkeytest::ReadStoredSettings;
using hotkeytest::StoredSettings;
using platform::DWORD;

QApplication& App() {
    static int argc = 1;
    static char name[] = "cdlgsetkey_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

template <typename Widget> Widget* Control(const QWidget& dialog, const char* id) {
    auto* control = dialog.findChild<Widget*>(id);
    EXPECT_NE(control, nullptr) << id;
    return control;
}

class CDlgSetKeyTest : public ::testing::Test {
protected:
    void SetUp() override { App(); }

    testsupport::ScopedRegistryFile m_registry;
};

TEST_F(CDlgSetKeyTest, ShowsTheStoredSettingsAndOkWritesTheChoice) {
    ASSERT_TRUE(hotkey::WriteHotkeySettings(3, 'Q', 1));
    CDlgSetKey dialog(0, 0x000000FF);
    auto* use = Control<QCheckBox>(dialog, "1049");
    auto* keys = Control<QComboBox>(dialog, "1048");
    auto* modifiers = Control<QComboBox>(dialog, "1051");
    ASSERT_TRUE(use && keys && modifiers);
    EXPECT_TRUE(use->isChecked());
    EXPECT_TRUE(keys->isEnabled() && modifiers->isEnabled());
    EXPECT_EQ(modifiers->currentText(), "Left Alt");
    EXPECT_EQ(keys->currentText(), "Q");

    dialog.show();
    keys->setCurrentIndex(19); // "7"
    modifiers->setCurrentIndex(2);
    use->click();
    EXPECT_FALSE(keys->isEnabled() || modifiers->isEnabled());
    Control<QPushButton>(dialog, "1")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(ReadStoredSettings(), (StoredSettings{2, '7', 0}));
}

TEST_F(CDlgSetKeyTest, AnUnlistedCodeShowsF1AndCancelWritesNothing) {
    ASSERT_TRUE(hotkey::WriteHotkeySettings(9, 200, 0));
    const std::string before = m_registry.Folder().Read("registry.ini");
    CDlgSetKey dialog(0, 0);
    auto* keys = Control<QComboBox>(dialog, "1048");
    auto* modifiers = Control<QComboBox>(dialog, "1051");
    EXPECT_EQ(keys->currentIndex(), 0);
    EXPECT_EQ(modifiers->currentIndex(), 0);
    EXPECT_FALSE(keys->isEnabled() || modifiers->isEnabled());
    dialog.show();
    Control<QCheckBox>(dialog, "1049")->click();
    EXPECT_TRUE(keys->isEnabled() && modifiers->isEnabled());
    Control<QPushButton>(dialog, "2")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(m_registry.Folder().Read("registry.ini"), before);
}

TEST_F(CDlgSetKeyTest, OkStaysOpenWhenTheSettingsCannotBeWritten) {
    CDlgSetKey dialog(0, 0);
    dialog.show();
    const std::string blocker = m_registry.Folder().Write("blocker", "x");
    testsupport::ScopedRegistryFile::Use(blocker + "/registry.ini");
    Control<QPushButton>(dialog, "1")->click();
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(CDlgSetKeyTest, TheHotkeyButtonReArmsWithWhatTheDialogStored) {
    ASSERT_TRUE(hotkey::WriteHotkeySettings(0, 0x74, 1));
    hotkeytest::FakeWindow window;
    hotkeytest::UiQueue queue;
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CDlgSetKey*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        Control<QComboBox>(*dialog, "1048")->setCurrentIndex(23); // "B"
        Control<QComboBox>(*dialog, "1051")->setCurrentIndex(1);
        Control<QPushButton>(*dialog, "1")->click();
    });
    OnHotkeyButton(nullptr, 0, 0, &window, queue.Poster());
    EXPECT_EQ(hotkey::g_keyValue.load(), DWORD{'B'});
    EXPECT_EQ(hotkey::g_keyType.load(), 1);
    EXPECT_EQ(hotkey::g_keyUsed.load(), 1u);
    EXPECT_EQ(hotkey::g_hotkeyWindow.load(), &window);
}

TEST_F(CDlgSetKeyTest, AToggleFromTheLibraryThreadRunsQueuedOnTheWindowsThread) {
    hotkeytest::FakeWindow window;
    auto receiver = std::make_unique<QObject>();
    hotkey::g_keyUsed = 1;
    hotkey::g_keyType = 0;
    hotkey::g_keyValue = 0x74;
    hotkey::g_hotkeyWindow = &window;
    hotkey::g_hotkeyPost = PostToThreadOf(receiver.get());
    g_notRecording.store(true);
    const auto pressF5 = [] {
        const TrindleKeyRecord record{0x74, 0, 0, 0};
        hotkey::HotkeyCallback(kTrindleKeyDown, &record);
    };
    std::thread(pressF5).join();
    EXPECT_EQ(window.m_starts, 0); // nothing runs on the library's thread
    QCoreApplication::processEvents();
    EXPECT_EQ(window.m_starts, 1);

    // A toggle still queued when the window goes is dropped.
    std::thread(pressF5).join();
    receiver.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.m_starts, 1);
    hotkey::g_hotkeyPost = nullptr;
    hotkey::g_hotkeyWindow = nullptr;
    hotkey::g_keyUsed = 0;
}

} // namespace
