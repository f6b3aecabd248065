#include "controls/CDlgEProgress.h"

#include "controls/ProgressLabelStyle.h"

CDlgEProgress::CDlgEProgress(QWidget* parent)
    : SkinnedDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_bar(this), m_label(this) {
    setModal(true);
    setFixedSize(300, 70);
    m_label.setObjectName(QStringLiteral("1028"));
    m_label.setGeometry(14, 10, 272, 18);
    m_label.setText(QStringLiteral("Erasing......"));
    controls::ApplyProgressFont(m_label);
    controls::ApplyProgressLabelColour(m_label);
    m_bar.setObjectName(QStringLiteral("1016"));
    m_bar.setGeometry(14, 34, 272, 18);
    m_bar.setTextVisible(false);
    m_bar.setRange(0, 100);
}

void CDlgEProgress::showEvent(QShowEvent* event) {
    SetRange(0, 100);
    SetPos(0);
    QDialog::showEvent(event);
}
