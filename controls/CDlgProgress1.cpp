#include "controls/CDlgProgress1.h"

#include "controls/ProgressLabelStyle.h"
#include "disc/ProgressDialogLayout.h"
#include "disc/TrackSaver.h"
#include "lang/LangText.h"

namespace {

// The template's rectangles, from which every layout starts.
constexpr QRect kWindow(0, 0, 360, 150);
constexpr QRect kFirstBar(14, 60, 332, 16);
constexpr QRect kSecondBar(14, 84, 332, 16);
constexpr QRect kCancel(270, 112, 76, 26);

disc::PixelRect ToPixels(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

QRect ToQRect(const disc::PixelRect& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

CDlgProgress1::CDlgProgress1(QWidget* parent)
    : SkinnedDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_caption(this), m_item(this),
      m_first(this), m_second(this), m_cancel(this) {
    setModal(true);
    m_caption.setObjectName(QStringLiteral("1018"));
    m_caption.setGeometry(14, 10, 332, 18);
    controls::ApplyProgressFont(m_caption);
    controls::ApplyProgressLabelColour(m_caption);
    m_item.setObjectName(QStringLiteral("1019"));
    m_item.setGeometry(14, 34, 332, 18);
    m_first.setObjectName(QStringLiteral("1016"));
    m_second.setObjectName(QStringLiteral("1020"));
    for (QProgressBar* bar : {&m_first, &m_second}) {
        bar->setTextVisible(false);
        bar->setRange(0, 100);
        bar->setValue(0);
    }
    m_cancel.setObjectName(QStringLiteral("2"));
    m_cancel.setText(QString::fromStdString(lang::GetLangString("UIText", 15)));
    controls::ApplyProgressFont(m_cancel);
    connect(&m_cancel, &QPushButton::clicked, this, [this] { AskCancel(); });
    SetBars(true, true);
}

void CDlgProgress1::SetCaption(const QString& caption) {
    m_caption.setText(caption);
}

void CDlgProgress1::SetBars(bool first, bool second) {
    const disc::ProgressDialogLayout layout = disc::LayOutProgressDialog(
        ToPixels(kWindow), ToPixels(kCancel), ToPixels(kFirstBar), first, second);
    setFixedSize(ToQRect(layout.window).size());
    m_cancel.setGeometry(ToQRect(layout.cancel));
    m_first.setGeometry(ToQRect(layout.firstBar));
    m_second.setGeometry(kSecondBar);
    m_first.setVisible(layout.firstBarShown);
    m_second.setVisible(layout.secondBarShown);
}

void CDlgProgress1::SetPos(int first, int second) {
    m_first.setValue(first);
    m_second.setValue(second);
}

void CDlgProgress1::SetRange(int firstUpper, int secondUpper) {
    m_first.setRange(0, firstUpper);
    m_second.setRange(0, secondUpper);
}

void CDlgProgress1::showEvent(QShowEvent* event) {
    m_item.clear();
    m_first.setRange(0, 100);
    m_first.setValue(0);
    QDialog::showEvent(event);
}

void CDlgProgress1::AskCancel() {
    if (disc::ConfirmSaveCancel()) {
        reject();
    }
}
