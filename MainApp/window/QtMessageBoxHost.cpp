#include "MainApp/window/QtMessageBoxHost.h"

#include "controls/CDlgLogo.h"
#include "lang/LangText.h"
#include "util/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include <algorithm>
#include <future>

namespace window {
namespace {

constexpr unsigned kButtonMask = 0x0Fu;
constexpr unsigned kIconMask = 0xF0u;
constexpr unsigned kIconHand = 16;
constexpr unsigned kIconExclamation = 48;

// The buttons' captions: texts of the language file's "UIText" section.
constexpr std::pair<QMessageBox::StandardButton, int> kButtonTexts[] = {{QMessageBox::Ok, 25},
                                                                        {QMessageBox::Cancel, 15},
                                                                        {QMessageBox::Yes, 27},
                                                                        {QMessageBox::No, 28}};

QMessageBox::StandardButtons ButtonsOf(unsigned style) {
    switch (style & kButtonMask) {
    case util::MB_OKCANCEL:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case util::MB_YESNOCANCEL:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case util::MB_YESNO:
        return QMessageBox::Yes | QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon IconOf(unsigned style) {
    switch (style & kIconMask) {
    case kIconHand:
        return QMessageBox::Critical;
    case util::MB_ICONQUESTION:
        return QMessageBox::Question;
    case kIconExclamation:
        return QMessageBox::Warning;
    case util::MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int AnswerOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return util::IDOK;
    case QMessageBox::Yes:
        return util::IDYES;
    case QMessageBox::No:
        return util::IDNO;
    default:
        return util::IDCANCEL;
    }
}

// A box for `text` in `style`, its buttons captioned in the chosen language
// (Qt's own captions where the language file has none).
QMessageBox* MakeBox(const std::string& text, unsigned style, QWidget* parent) {
    const auto buttons = ButtonsOf(style);
    auto* box = new QMessageBox(IconOf(style), QStringLiteral("Sondrel"),
                                QString::fromStdString(text), buttons, parent);
    for (const auto& [button, number] : kButtonTexts) {
        const std::string caption = lang::GetLangString("UIText", number);
        if (buttons.testFlag(button) && !caption.empty()) {
            box->button(button)->setText(QString::fromStdString(caption));
        }
    }
    // Escape or the close box counts as Cancel where there is one, as OK for
    // a box with OK alone; a Yes/No question must be answered.
    if (buttons.testFlag(QMessageBox::Cancel)) {
        box->setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == QMessageBox::Ok) {
        box->setEscapeButton(QMessageBox::Ok);
    }
    return box;
}

} // namespace

// A worker's question: answered once, by its box or by Close.
struct QtMessageBoxHost::Question {
    std::promise<int> answer;
    bool answered = false; // guarded by the host's m_mutex
    QPointer<QMessageBox> box;
};

QtMessageBoxHost::QtMessageBoxHost() = default;

QtMessageBoxHost::~QtMessageBoxHost() {
    Close();
}

void QtMessageBoxHost::SetOwner(QWidget* owner) {
    m_owner = owner;
}

void QtMessageBoxHost::Close() {
    std::vector<std::shared_ptr<Question>> open;
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        open = m_open;
    }
    for (const std::shared_ptr<Question>& question : open) {
        Answer(question, util::IDCANCEL);
        if (question->box != nullptr) {
            question->box->deleteLater();
        }
    }
}

int QtMessageBoxHost::Show(const std::string& text, unsigned style) {
    if (QThread::currentThread() == m_guiContext.thread()) {
        return ShowHere(text, style);
    }
    auto question = std::make_shared<Question>();
    std::future<int> answer = question->answer.get_future();
    {
        const std::lock_guard lock(m_mutex);
        if (m_closed || QCoreApplication::closingDown()) {
            return util::IDCANCEL;
        }
        m_open.push_back(question);
    }
    QMetaObject::invokeMethod(
        &m_guiContext, [this, question, text, style] { ShowForWorker(question, text, style); },
        Qt::QueuedConnection);
    if ((style & kButtonMask) == util::MB_OK) {
        // Nothing to decide: the worker goes on while the box is up.
        return util::IDOK;
    }
    // Only the future is touched from here on: Close answers it, so a host
    // that closed meanwhile is not needed to wake this worker.
    return answer.get();
}

int QtMessageBoxHost::ShowHere(const std::string& text, unsigned style) {
    const std::unique_ptr<QMessageBox> box(MakeBox(text, style, m_owner.data()));
    return AnswerOf(box->exec());
}

void QtMessageBoxHost::ShowForWorker(const std::shared_ptr<Question>& question,
                                     const std::string& text, unsigned style) {
    {
        const std::lock_guard lock(m_mutex);
        if (question->answered) {
            return;
        }
    }
    // A modal window blocks every window that is not its own child, so the box
    // belongs to the modal window that is up, if any; not to the splash,
    // which goes by itself and would take the box with it.
    QWidget* modal = QApplication::activeModalWidget();
    if (dynamic_cast<CDlgLogo*>(modal) != nullptr) {
        modal = nullptr;
    }
    QMessageBox* box = MakeBox(text, style, modal != nullptr ? modal : m_owner.data());
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    question->box = box;
    QObject::connect(box, &QMessageBox::finished, &m_guiContext,
                     [this, question](int button) { Answer(question, AnswerOf(button)); });
    // A box that goes with its parent window counts as cancelled.
    QObject::connect(box, &QObject::destroyed, &m_guiContext,
                     [this, question] { Answer(question, util::IDCANCEL); });
    box->show();
}

void QtMessageBoxHost::Answer(const std::shared_ptr<Question>& question, int answer) {
    {
        const std::lock_guard lock(m_mutex);
        if (question->answered) {
            return;
        }
        question->answered = true;
        m_open.erase(std::remove(m_open.begin(), m_open.end(), question), m_open.end());
    }
    question->answer.set_value(answer);
}

} // namespace window
