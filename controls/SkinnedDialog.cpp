#include "controls/SkinnedDialog.h"

#include "skin/QtColor.h"
#include "skin/SkinState.h"

#include <QKeyEvent>
#include <QPainter>

void SkinnedDialog::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(rect(), skin::ToQColor(g_skinColor));
    QDialog::paintEvent(event);
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
