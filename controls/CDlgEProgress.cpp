#include "controls/CDlgEProgress.h"

#include "MainApp/skin/QtColor.h"
#include "MainApp/skin/SkinState.h"
#include "controls/ProgressLabelStyle.h"

#include <QKeyEvent>
#include <QPainter>

CDlgEProgress::CDlgEProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_bar(this), m_label(this) {
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

void CDlgEProgress::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::ToQColor(g_skinColor));
    QDialog::paintEvent(event);
}

void CDlgEProgress::keyPressEvent(QKeyEvent* event) {
    if (controls::IsSwallowedKey(event->key())) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
