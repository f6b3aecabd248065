// Ending the window during a take finishes the take as Stop does: closing it
// at each stage of a CD take (writing, the writer finishing a full disc, the
// disc being closed) and SIGTERM during a WAV take; none of them hangs.
#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/CloseOnSignals.h"
#include "MainApp/window/QtMessageBoxHost.h"
#include "components/quarnel/emudrives/EmulatedDriveProvider.h"
#include "engine/RecordingState.h"
#include "lang/LangText.h"
#include "tests/mainapp/WindowTestEnvironment.h"
#include "util/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using window::CMainAppDlg;
using windowtest::WindowTestEnvironment;
namespace emu = quarnel::emu;

constexpr int kHangLimitMs = 60000;

// The program's message host, with every box answered OK and its text kept.
class AnsweredBoxes {
public:
    AnsweredBoxes() : m_before(util::SetMessageBoxHost(&m_host)) {
        QObject::connect(&m_answerer, &QTimer::timeout, &m_answerer, [this] {
            // A worker's box is not modal: it is found among the windows.
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(widget);
                if (box != nullptr && box->isVisible()) {
                    m_texts.push_back(box->text().toStdString());
                    box->button(QMessageBox::Ok)->click();
                }
            }
        });
        m_answerer.start(10);
    }
    ~AnsweredBoxes() { util::SetMessageBoxHost(m_before); }
    AnsweredBoxes(const AnsweredBoxes&) = delete;
    AnsweredBoxes& operator=(const AnsweredBoxes&) = delete;

    window::QtMessageBoxHost m_host;
    std::vector<std::string> m_texts;

private:
    util::IMessageBoxHost* m_before;
    QTimer m_answerer;
};

struct CloseStage {
    const char* name;
    std::uint32_t usableSectors; // 0: a whole blank CD-R
    std::function<bool(const emu::DiscState&)> reached;
};

class WindowClose : public ::testing::TestWithParam<CloseStage> {
protected:
    WindowClose() : m_dialog(WindowTestEnvironment::Get().Drives()) {}

    QAbstractButton* Button(int id) {
        return qobject_cast<QAbstractButton*>(m_dialog.GetDlgItem(id));
    }

    CMainAppDlg m_dialog;
};

TEST_P(WindowClose, AtThisStageOfACdTakeFinishesTheTrackAndEnds) {
    const CloseStage& stage = GetParam();
    AnsweredBoxes boxes;
    m_dialog.OnInitDialog();
    m_dialog.show();
    quarnel::CDevCmdROM* device = m_dialog.CurrentDevice();
    ASSERT_NE(device, nullptr);
    emu::EmulatedDrive* drive = quarnel::RegisterEmulatedDrives().Find(*device);
    ASSERT_NE(drive, nullptr);
    const std::uint32_t capacity = stage.usableSectors == 0 ? 0 : 12800 + stage.usableSectors;
    ASSERT_TRUE(drive->LoadBlank(emu::MediumKind::CdR, capacity));
    QCoreApplication::processEvents();

    QTest::mouseClick(Button(1012), Qt::LeftButton);
    ASSERT_FALSE(g_notRecording.load()) << "the take started";
    ASSERT_TRUE(QTest::qWaitFor([&] { return stage.reached(drive->State()); }, kHangLimitMs))
        << "the stage was not seen";
    m_dialog.close(); // returns once the take is finished
    EXPECT_FALSE(m_dialog.isVisible());
    EXPECT_TRUE(g_notRecording.load());
    const emu::DiscState state = drive->State();
    ASSERT_EQ(state.tracks.size(), 1u);
    EXPECT_FALSE(state.trackOpen);
    EXPECT_FALSE(state.locked);
    if (stage.usableSectors != 0) {
        EXPECT_TRUE(state.complete) << "a full disc is closed";
        const std::string full = lang::GetLangString("Message", 20);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return std::find(boxes.m_texts.begin(), boxes.m_texts.end(), full) !=
                       boxes.m_texts.end();
            },
            kHangLimitMs));
    }
}

INSTANTIATE_TEST_SUITE_P(Stages, WindowClose,
                         ::testing::Values(CloseStage{"Writing", 0,
                                                      [](const emu::DiscState& disc) {
                                                          return disc.trackOpen &&
                                                                 !disc.tracks.empty() &&
                                                                 disc.tracks.back().length > 0;
                                                      }},
                                           CloseStage{"FinishingAFullDisc", 112,
                                                      [](const emu::DiscState& disc) {
                                                          return g_notRecording.load() &&
                                                                 disc.trackOpen;
                                                      }},
                                           CloseStage{"ClosingTheDisc", 112,
                                                      [](const emu::DiscState& disc) {
                                                          return !disc.tracks.empty() &&
                                                                 !disc.trackOpen && disc.locked;
                                                      }}),
                         [](const ::testing::TestParamInfo<CloseStage>& stage) {
                             return std::string(stage.param.name);
                         });

TEST(WindowSignals, SigtermDuringAWavTakeClosesTheWindowWithTheFileFinished) {
    CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
    const window::CloseOnSignals closeOnSignals(dialog);
    dialog.OnInitDialog();
    dialog.show();
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1003))->click();
    const std::string path = WindowTestEnvironment::Get().Folder().File("signalled.wav");
    qobject_cast<QLineEdit*>(dialog.GetDlgItem(1005))->setText(QString::fromStdString(path));
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(1012))->click();
    ASSERT_FALSE(g_notRecording.load());
    ASSERT_TRUE(QTest::qWaitFor(
        [&path] { return std::filesystem::file_size(path) > 44u + kCaptureBufferBytes; },
        kHangLimitMs));

    std::raise(SIGTERM);
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return !dialog.isVisible(); }, kHangLimitMs));
    EXPECT_TRUE(g_notRecording.load());
    std::ifstream file(path, std::ios::binary);
    std::array<unsigned char, 80> header{};
    file.read(reinterpret_cast<char*>(header.data()), header.size());
    // The take's header: RIFF, a JUNK chunk kept for 64-bit sizes, fmt, then
    // the data chunk's size at bytes 76 to 79.
    const std::uint32_t dataSize = header[76] | header[77] << 8 | header[78] << 16 |
                                   static_cast<std::uint32_t>(header[79]) << 24;
    EXPECT_EQ(dataSize, std::filesystem::file_size(path) - 80) << "the header was patched";
}

} // namespace
