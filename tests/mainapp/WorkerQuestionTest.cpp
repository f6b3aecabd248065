// A worker's question (the update check asks while the window starts) under a
// real X server: the window starts and stays usable while the question is up,
// and the program's end answers a question still open.
#include "MainApp/window/CMainAppDlg.h"
#include "MainApp/window/QtMessageBoxHost.h"
#include "tests/mainapp/WindowTestEnvironment.h"
#include "tests/support/ScopedMessageBoxHost.h"
#include "util/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {

using windowtest::WindowTestEnvironment;

QMessageBox* OpenBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
            return box;
        }
    }
    return nullptr;
}

// Asks `text` on a thread of its own; answer() is 0 until the answer is back.
class AskingWorker {
public:
    AskingWorker(const char* text, unsigned style)
        : m_thread([this, text, style] { m_answer = util::ShowMessageBox(text, style); }) {}
    ~AskingWorker() { m_thread.join(); }
    AskingWorker(const AskingWorker&) = delete;
    AskingWorker& operator=(const AskingWorker&) = delete;
    int answer() const { return m_answer.load(); }
    bool WaitForAnswer() const {
        return QTest::qWaitFor([this] { return answer() != 0; }, 20000);
    }

private:
    std::atomic<int> m_answer{0};
    std::thread m_thread;
};

TEST(WorkerQuestionTest, TheWindowStartsAndStaysUsableWhileTheUpdateQuestionIsUp) {
    window::CMainAppDlg dialog(WindowTestEnvironment::Get().Drives());
    window::QtMessageBoxHost host;
    host.SetOwner(&dialog);
    testsupport::ScopedMessageBoxHost installed(host);
    // With the splash, as the program starts.
    unsetenv(window::CMainAppDlg::kNoSplashVariable);
    AskingWorker worker("Install the update now?", util::MB_YESNO | util::MB_ICONINFORMATION);
    // A user who leaves the question alone for a while: a start-up that waits
    // for the answer goes on only after this.
    QTimer patience;
    patience.setSingleShot(true);
    QObject::connect(&patience, &QTimer::timeout, &patience, [] {
        if (QMessageBox* box = OpenBox()) {
            box->button(QMessageBox::No)->click();
        }
    });
    patience.start(15000);
    // The question arrives while the splash is up.
    dialog.OnInitDialog();
    dialog.show();
    setenv(window::CMainAppDlg::kNoSplashVariable, "1", 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    EXPECT_TRUE(QTest::qWaitFor([] { return OpenBox() != nullptr; }, 10000));
    QMessageBox* box = OpenBox();
    ASSERT_NE(box, nullptr) << "the window has started while the question is still up";
    EXPECT_EQ(worker.answer(), 0);
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The window answers a click on "To file".
    auto* toFile = qobject_cast<QRadioButton*>(dialog.GetDlgItem(1003));
    QTest::mouseClick(toFile, Qt::LeftButton);
    EXPECT_TRUE(toFile->isChecked());
    EXPECT_TRUE(dialog.IsToFileChecked());

    box->button(QMessageBox::Yes)->click();
    ASSERT_TRUE(worker.WaitForAnswer());
    EXPECT_EQ(worker.answer(), util::IDYES);
    patience.stop();
}

TEST(WorkerQuestionTest, AMessageDoesNotHoldTheWorkerAndTheEndAnswersOpenQuestions) {
    WindowTestEnvironment::Get();
    window::QtMessageBoxHost host;
    testsupport::ScopedMessageBoxHost installed(host);
    {
        // OK alone: the worker goes on while the box is up.
        AskingWorker message("The disc is full.", util::MB_OK);
        ASSERT_TRUE(message.WaitForAnswer());
        EXPECT_EQ(message.answer(), util::IDOK);
        ASSERT_TRUE(QTest::qWaitFor([] { return OpenBox() != nullptr; }, 10000));
        OpenBox()->button(QMessageBox::Ok)->click();
    }
    AskingWorker question("Overwrite it?", util::MB_YESNOCANCEL | util::MB_ICONQUESTION);
    ASSERT_TRUE(QTest::qWaitFor([] { return OpenBox() != nullptr; }, 10000));
    host.Close();
    ASSERT_TRUE(question.WaitForAnswer());
    EXPECT_EQ(question.answer(), util::IDCANCEL);
    EXPECT_TRUE(QTest::qWaitFor([] { return OpenBox() == nullptr; }, 10000));
    // A worker that took the host before the end is answered at once.
    AskingWorker late("Save the take?", util::MB_YESNO);
    ASSERT_TRUE(late.WaitForAnswer());
    EXPECT_EQ(late.answer(), util::IDCANCEL);
}

} // namespace
