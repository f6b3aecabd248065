#include "controls/CDlgLogo.h"

#include "res/ArtworkCatalog.h"
#include "res/ResourceImages.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

CDlgLogo::CDlgLogo(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      m_picture(res::LoadBitmap(res::kSplashBitmap)) {
    // Platforms without window opacity show the splash opaque.
    setWindowOpacity(kOpacity);
    setFixedSize(m_picture.isNull() ? QSize(269, 189) : m_picture.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
        move(screen->availableGeometry().center() - rect().center());
    }
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setSingleShot(true);
    m_timer.setInterval(kShowMs);
    connect(&m_timer, &QTimer::timeout, this, &QDialog::reject);
}

void CDlgLogo::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    m_timer.start();
}

void CDlgLogo::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_picture);
    QDialog::paintEvent(event);
}
