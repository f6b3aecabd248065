#include "res/gen/Glyph.h"

#include "res/gen/Bevel.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>

namespace artgen {

namespace {

void Triangle(QPainter& painter, const QPointF& tip, double width, double height, bool left) {
    const double back = left ? tip.x() + width : tip.x() - width;
    painter.drawPolygon(
        QPolygonF({tip, QPointF(back, tip.y() - height / 2), QPointF(back, tip.y() + height / 2)}));
}

// Writes `text` centred in `box`, at most `pixels` high and narrow enough to fit.
void Letter(QPainter& painter, const QRectF& box, const QString& text, int pixels) {
    QFont font = ArtFont(pixels, true);
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > box.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    painter.setFont(font);
    painter.drawText(box, Qt::AlignCenter, text);
}

void SkinQuarters(QPainter& painter, const QPointF& c, double r) {
    const QColor colours[4] = {QColor(12, 16, 23), QColor(227, 227, 227), QColor(249, 120, 69),
                               QColor(249, 143, 218)};
    const QRectF circle(c.x() - r, c.y() - r, 2 * r, 2 * r);
    for (int quarter = 0; quarter < 4; ++quarter) {
        painter.setBrush(colours[quarter]);
        painter.drawPie(circle, (90 + quarter * 90) * 16, 90 * 16);
    }
}

} // namespace

void DrawGlyph(QPainter& painter, Glyph glyph, const QRectF& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const QPointF c = box.center();
    const double s = std::min(box.width(), box.height());
    const QPen line(colour, std::max(1.5, s / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (glyph) {
    case Glyph::Skins:
        painter.setPen(QPen(colour, 1));
        SkinQuarters(painter, c, s * 0.36);
        break;
    case Glyph::Hotkeys: {
        painter.setPen(QPen(colour, 1.4));
        painter.setBrush(Qt::NoBrush);
        const QRectF cap(c.x() - s * 0.36, c.y() - s * 0.3, s * 0.72, s * 0.6);
        painter.drawRoundedRect(cap, 2, 2);
        painter.setPen(colour);
        Letter(painter, cap.adjusted(0, 0, 0, -1), QStringLiteral("K"), static_cast<int>(s * 0.4));
        break;
    }
    case Glyph::Close:
        painter.setPen(line);
        painter.drawLine(c + QPointF(-s * 0.2, -s * 0.2), c + QPointF(s * 0.2, s * 0.2));
        painter.drawLine(c + QPointF(-s * 0.2, s * 0.2), c + QPointF(s * 0.2, -s * 0.2));
        break;
    case Glyph::Help:
        painter.setPen(colour);
        Letter(painter, box, QStringLiteral("?"), static_cast<int>(s * 0.62));
        break;
    case Glyph::About:
        painter.setPen(colour);
        Letter(painter, box, QStringLiteral("i"), static_cast<int>(s * 0.62));
        break;
    case Glyph::Browse:
        for (int dot = -1; dot <= 1; ++dot) {
            painter.drawEllipse(c + QPointF(dot * s * 0.26, s * 0.12), s * 0.09, s * 0.09);
        }
        break;
    case Glyph::Erase: {
        // A disc with a sweeping arc.
        painter.setPen(QPen(colour, 1.3));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(c, s * 0.36, s * 0.36);
        painter.setBrush(colour);
        painter.drawEllipse(c, s * 0.08, s * 0.08);
        painter.setPen(line);
        painter.drawArc(QRectF(c.x() - s * 0.22, c.y() - s * 0.22, s * 0.44, s * 0.44), 30 * 16,
                        200 * 16);
        break;
    }
    case Glyph::Save:
        painter.setPen(line);
        painter.drawLine(c + QPointF(0, -s * 0.34), c + QPointF(0, s * 0.06));
        painter.drawLine(c + QPointF(-s * 0.3, s * 0.34), c + QPointF(s * 0.3, s * 0.34));
        painter.setPen(Qt::NoPen);
        painter.drawPolygon(QPolygonF({QPointF(c.x() - s * 0.2, c.y() + s * 0.02),
                                       QPointF(c.x() + s * 0.2, c.y() + s * 0.02),
                                       QPointF(c.x(), c.y() + s * 0.24)}));
        break;
    case Glyph::Record:
    case Glyph::Stop: {
        // The symbol at the left, the word beside it.
        const double mark = box.height() * 0.26;
        const QPointF m(box.left() + mark + 2, c.y());
        if (glyph == Glyph::Record) {
            painter.drawEllipse(m, mark, mark);
        } else {
            painter.drawRect(
                QRectF(m.x() - mark * 0.85, m.y() - mark * 0.85, mark * 1.7, mark * 1.7));
        }
        painter.setPen(colour);
        const QRectF words(m.x() + mark + 1, box.top(), box.right() - m.x() - mark - 1,
                           box.height());
        Letter(painter, words,
               glyph == Glyph::Record ? QStringLiteral("REC") : QStringLiteral("STOP"),
               static_cast<int>(box.height() * 0.4));
        break;
    }
    case Glyph::Exit: {
        painter.setPen(line);
        painter.setBrush(Qt::NoBrush);
        const QRectF ring(c.x() - s * 0.28, c.y() - s * 0.26, s * 0.56, s * 0.56);
        painter.drawArc(ring, 60 * 16, -300 * 16);
        painter.drawLine(c + QPointF(0, -s * 0.34), c + QPointF(0, -s * 0.02));
        break;
    }
    case Glyph::Previous:
        painter.drawRect(QRectF(c.x() - s * 0.3, c.y() - s * 0.24, s * 0.1, s * 0.48));
        Triangle(painter, QPointF(c.x() - s * 0.2, c.y()), s * 0.46, s * 0.48, true);
        break;
    case Glyph::Play:
        Triangle(painter, QPointF(c.x() + s * 0.28, c.y()), s * 0.5, s * 0.56, false);
        break;
    case Glyph::Pause:
        painter.drawRect(QRectF(c.x() - s * 0.22, c.y() - s * 0.24, s * 0.14, s * 0.48));
        painter.drawRect(QRectF(c.x() + s * 0.08, c.y() - s * 0.24, s * 0.14, s * 0.48));
        break;
    case Glyph::Next:
        Triangle(painter, QPointF(c.x() + s * 0.2, c.y()), s * 0.46, s * 0.48, false);
        painter.drawRect(QRectF(c.x() + s * 0.2, c.y() - s * 0.24, s * 0.1, s * 0.48));
        break;
    case Glyph::PlayStop:
        painter.drawRect(QRectF(c.x() - s * 0.22, c.y() - s * 0.22, s * 0.44, s * 0.44));
        break;
    }
    painter.restore();
}

} // namespace artgen
