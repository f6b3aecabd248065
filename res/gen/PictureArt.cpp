#include "res/gen/PictureArt.h"

#include "res/MainDialogTemplate.h"
#include "res/gen/Bevel.h"
#include "res/gen/WindowOutline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace artgen {

namespace {

const QColor kNight(12, 16, 23);
const QColor kBlue(0, 130, 192);
const QColor kGreen(120, 236, 140);

// A compact disc seen from the front with a rainbow sheen.
void DrawDisc(QPainter& painter, const QPointF& c, double r) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QConicalGradient sheen(c, 30);
    sheen.setColorAt(0.0, QColor(210, 220, 235));
    sheen.setColorAt(0.15, QColor(150, 200, 255));
    sheen.setColorAt(0.3, QColor(235, 200, 255));
    sheen.setColorAt(0.5, QColor(200, 210, 225));
    sheen.setColorAt(0.65, QColor(255, 230, 160));
    sheen.setColorAt(0.8, QColor(160, 240, 210));
    sheen.setColorAt(1.0, QColor(210, 220, 235));
    painter.setPen(QPen(QColor(60, 70, 90), std::max(1.0, r / 40)));
    painter.setBrush(sheen);
    painter.drawEllipse(c, r, r);
    painter.setBrush(QColor(235, 240, 248));
    painter.drawEllipse(c, r * 0.3, r * 0.3);
    painter.setBrush(kNight);
    painter.drawEllipse(c, r * 0.1, r * 0.1);
    painter.restore();
}

// A sound wave: a decaying sine burst across `box`.
void DrawWave(QPainter& painter, const QRectF& box, const QColor& colour, double width) {
    QPainterPath wave;
    const int steps = static_cast<int>(box.width());
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double envelope = std::sin(t * std::numbers::pi) * (0.55 + 0.45 * std::sin(t * 9));
        const double y = box.center().y() - envelope * box.height() / 2 * std::sin(t * 46);
        const QPointF point(box.left() + i, y);
        if (i == 0) {
            wave.moveTo(point);
        } else {
            wave.lineTo(point);
        }
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(wave);
    painter.restore();
}

void FillNight(QPainter& painter, const QRectF& area) {
    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    gradient.setColorAt(0, QColor(30, 44, 70));
    gradient.setColorAt(1, kNight);
    painter.fillRect(area, gradient);
    QRadialGradient glow(area.center() + QPointF(area.width() * 0.2, -area.height() * 0.1),
                         area.width() * 0.6);
    glow.setColorAt(0, QColor(0, 130, 192, 70));
    glow.setColorAt(1, QColor(0, 130, 192, 0));
    painter.fillRect(area, glow);
}

void Words(QPainter& painter, const QRectF& box, const QString& text, int pixels, bool bold,
           const QColor& colour, Qt::Alignment align) {
    painter.setFont(ArtFont(pixels, bold));
    painter.setPen(QColor(0, 0, 0, 160));
    painter.drawText(box.translated(1, 1), align, text);
    painter.setPen(colour);
    painter.drawText(box, align, text);
}

} // namespace

QImage DrawWindowShape() {
    QImage colour(res::kMainWindowWidthPx, res::kMainWindowHeightPx, QImage::Format_RGB32);
    colour.fill(Qt::white);
    QPainter painter(&colour);
    // No antialiasing: the shape is one bit per pixel.
    painter.fillPath(WindowOutline(), Qt::black);
    painter.end();
    return colour.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
}

QImage DrawSplash(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(QPointF(0, 0), QSizeF(size));
    FillNight(painter, area);
    DrawDisc(painter, QPointF(size.width() - 54, 62), 44);
    DrawWave(painter, QRectF(10, 96, size.width() - 20, 40), kGreen, 1.6);
    Words(painter, QRectF(16, 20, 170, 40), QStringLiteral("Sondrel"), 34, true, Qt::white,
          Qt::AlignLeft | Qt::AlignVCenter);
    Words(painter, QRectF(18, 58, 170, 18), QStringLiteral("sound recorder"), 13, false,
          QColor(150, 200, 235), Qt::AlignLeft | Qt::AlignVCenter);
    Words(painter, QRectF(0, size.height() - 38, size.width(), 20),
          QStringLiteral("Record straight to CD, WAV or MP3"), 11, false, QColor(200, 210, 225),
          Qt::AlignHCenter | Qt::AlignVCenter);
    painter.fillRect(QRectF(20, size.height() - 14, size.width() - 40, 2), kBlue);
    painter.setPen(QPen(QColor(90, 110, 140), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.end();
    return image;
}

QImage DrawAboutPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    FillNight(painter, QRectF(QPointF(0, 0), QSizeF(size)));
    DrawDisc(painter, QPointF(38, 44), 30);
    Words(painter, QRectF(78, 16, 120, 30), QStringLiteral("Sondrel"), 24, true, Qt::white,
          Qt::AlignLeft | Qt::AlignVCenter);
    Words(painter, QRectF(80, 46, 120, 16), QStringLiteral("sound recorder"), 11, false,
          QColor(150, 200, 235), Qt::AlignLeft | Qt::AlignVCenter);
    DrawWave(painter, QRectF(6, 76, size.width() - 12, 18), kGreen, 1.2);
    painter.end();
    return image;
}

QImage DrawProgramIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = pixels;
    DrawDisc(painter, QPointF(s * 0.5, s * 0.5), s * 0.47);
    // A red recording dot over the lower right of the disc.
    QRadialGradient dot(QPointF(s * 0.74, s * 0.74), s * 0.2);
    dot.setColorAt(0, QColor(255, 110, 100));
    dot.setColorAt(1, QColor(180, 10, 20));
    painter.setPen(QPen(Qt::white, s / 24));
    painter.setBrush(dot);
    painter.drawEllipse(QPointF(s * 0.74, s * 0.74), s * 0.19, s * 0.19);
    painter.end();
    return image;
}

QImage DrawTrackIcon(int pixels) {
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = pixels;
    DrawDisc(painter, QPointF(s * 0.42, s * 0.5), s * 0.4);
    // A quaver in front of the disc.
    painter.setPen(QPen(QColor(10, 60, 20), s / 11));
    painter.drawLine(QPointF(s * 0.84, s * 0.16), QPointF(s * 0.84, s * 0.78));
    painter.drawLine(QPointF(s * 0.84, s * 0.16), QPointF(s * 0.98, s * 0.3));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 140, 50));
    painter.drawEllipse(QPointF(s * 0.74, s * 0.8), s * 0.14, s * 0.11);
    painter.end();
    return image;
}

QImage DrawHandCursor(int pixels, int hotSpotX, int hotSpotY) {
    QImage image(pixels, pixels, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double x = hotSpotX;
    const double y = hotSpotY;
    // The raised index finger, then the knuckles of the three folded fingers,
    // the palm and the thumb, as one outline.
    QPainterPath hand;
    hand.addRoundedRect(QRectF(x - 2.5, y, 5, 16), 2.5, 2.5);
    hand.addRoundedRect(QRectF(x + 1.5, y + 9, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(x + 5.5, y + 10, 5, 10), 2.5, 2.5);
    hand.addRoundedRect(QRectF(x + 9.5, y + 11.5, 4.5, 9), 2.2, 2.2);
    hand.addRoundedRect(QRectF(x - 2.5, y + 14, 16.5, 12), 4, 4);
    QPainterPath thumb;
    thumb.moveTo(x - 2.5, y + 21);
    thumb.lineTo(x - 7.5, y + 15.5);
    thumb.quadTo(x - 9.5, y + 14, x - 8, y + 12.5);
    thumb.quadTo(x - 6.5, y + 11.5, x - 4.5, y + 13);
    thumb.lineTo(x - 1, y + 16);
    thumb.closeSubpath();
    hand = hand.united(thumb).simplified();
    painter.setPen(QPen(Qt::black, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(hand);
    painter.setPen(QPen(Qt::black, 0.9));
    for (const double knuckle : {1.5, 5.5, 9.5}) {
        painter.drawLine(QPointF(x + knuckle, y + 14), QPointF(x + knuckle, y + 17));
    }
    painter.end();
    image.setText(QStringLiteral("HotSpotX"), QString::number(hotSpotX));
    image.setText(QStringLiteral("HotSpotY"), QString::number(hotSpotY));
    return image;
}

} // namespace artgen
