#include "MainApp/window/QtMessageBoxHost.h"

#include "util/MessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QThread>

namespace window {
namespace {

constexpr unsigned kButtonMask = 0x0Fu;
constexpr unsigned kIconMask = 0xF0u;
constexpr unsigned kIconHand = 16;
constexpr unsigned kIconExclamation = 48;

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

int AnswerOf(QMessageBox::StandardButton button) {
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

} // namespace

QtMessageBoxHost::QtMessageBoxHost() = default;

void QtMessageBoxHost::SetOwner(QWidget* owner) {
    m_owner = owner;
}

int QtMessageBoxHost::Show(const std::string& text, unsigned style) {
    if (QThread::currentThread() == m_guiContext.thread()) {
        return ShowHere(text, style);
    }
    int answer = util::IDCANCEL;
    if (QCoreApplication::closingDown()) {
        return answer;
    }
    if (ButtonsOf(style) == QMessageBox::Ok) {
        // Nothing to answer: the box is posted and the worker goes on, so a
        // user-interface thread that waits for the worker (joining it at
        // Stop or at close) is never waited for in return.
        QMetaObject::invokeMethod(
            &m_guiContext, [this, text, style] { ShowHere(text, style); }, Qt::QueuedConnection);
        return util::IDOK;
    }
    // A worker waits for the user-interface thread to answer a question.
    // Blocking is safe only because this is not that thread (checked above).
    QMetaObject::invokeMethod(
        &m_guiContext, [this, &text, style] { return ShowHere(text, style); },
        Qt::BlockingQueuedConnection, &answer);
    return answer;
}

int QtMessageBoxHost::ShowHere(const std::string& text, unsigned style) {
    QMessageBox box(IconOf(style), QStringLiteral("Sondrel"), QString::fromStdString(text),
                    ButtonsOf(style), m_owner.data());
    const auto buttons = ButtonsOf(style);
    // Escape or the close box counts as Cancel where there is one, as OK for
    // a box with OK alone; a Yes/No question must be answered.
    if (buttons.testFlag(QMessageBox::Cancel)) {
        box.setEscapeButton(QMessageBox::Cancel);
    } else if (buttons == QMessageBox::Ok) {
        box.setEscapeButton(QMessageBox::Ok);
    }
    return AnswerOf(static_cast<QMessageBox::StandardButton>(box.exec()));
}

} // namespace window
