#include "res/gen/Bevel.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace artgen {

void DrawPanel(QPainter& painter, const QRectF& rect, const QColor& fill, double radius,
               bool sunken) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = fill.lightness() < 128;
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, sunken ? fill.darker(dark ? 130 : 106) : fill.lighter(dark ? 140 : 104));
    gradient.setColorAt(1, sunken ? fill.lighter(dark ? 125 : 102) : fill.darker(dark ? 120 : 106));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect, radius, radius);

    const QColor shadow(0, 0, 0, dark ? 150 : 90);
    const QColor light(255, 255, 255, dark ? 60 : 170);
    QLinearGradient rim(rect.topLeft(), rect.bottomLeft());
    rim.setColorAt(0, sunken ? shadow : light);
    rim.setColorAt(1, sunken ? light : shadow);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QBrush(rim), 1.2));
    painter.drawRoundedRect(rect.adjusted(0.6, 0.6, -0.6, -0.6), radius, radius);
    painter.restore();
}

void DrawFace(QPainter& painter, const QRectF& rect, const QColor& base, double radius) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, base.lighter(150));
    gradient.setColorAt(0.5, base);
    gradient.setColorAt(1, base.darker(140));
    painter.setPen(QPen(base.darker(250), 1.0));
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QRectF gloss = rect.adjusted(2, 1.5, -2, 0);
    gloss.setHeight(rect.height() * 0.42);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 110));
    shine.setColorAt(1, QColor(255, 255, 255, 10));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shine);
    painter.drawRoundedRect(gloss, radius * 0.7, radius * 0.7);
    painter.restore();
}

QFont ArtFont(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace artgen
