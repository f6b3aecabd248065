#include "res/gen/BackgroundArt.h"

#include "res/MainDialogTemplate.h"
#include "res/gen/Bevel.h"
#include "res/gen/WindowOutline.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

namespace artgen {

namespace {

QRectF ControlRect(int id) {
    const res::DialogRect r = res::MainDialogControlPixels(id).value_or(res::DialogRect{});
    return QRectF(r.x, r.y, r.cx, r.cy);
}

// The bounding rectangle of several controls, grown by `margin` pixels.
QRectF Around(std::initializer_list<int> ids, double margin) {
    QRectF box;
    for (const int id : ids) {
        box = box.isNull() ? ControlRect(id) : box.united(ControlRect(id));
    }
    return box.adjusted(-margin, -margin, margin, margin);
}

void DrawBody(QPainter& painter, const SkinArt& art, const QPainterPath& outline) {
    QLinearGradient gradient(0, 0, 0, res::kMainWindowHeightPx);
    gradient.setColorAt(0, art.bodyTop);
    gradient.setColorAt(0.35, Mix(art.bodyTop, art.bodyBottom, 0.55));
    gradient.setColorAt(1, art.bodyBottom);
    painter.fillPath(outline, gradient);

    // Fine horizontal brushing gives the body a metal grain.
    painter.save();
    painter.setClipPath(outline);
    for (int y = 0; y < res::kMainWindowHeightPx; y += 2) {
        const int alpha = 5 + (y * 7919 % 13);
        painter.setPen(QColor(255, 255, 255, alpha));
        painter.drawLine(0, y, res::kMainWindowWidthPx, y);
    }
    // A soft sheen across the upper part.
    QRadialGradient sheen(QPointF(90, 40), 260);
    sheen.setColorAt(0, QColor(255, 255, 255, 46));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(0, 0, res::kMainWindowWidthPx, res::kMainWindowHeightPx), sheen);
    painter.restore();

    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(art.edgeDark, 2.0));
    painter.drawPath(outline);
    painter.save();
    painter.setClipPath(outline);
    painter.translate(1.5, 1.5);
    painter.setPen(QPen(art.edgeLight, 1.2));
    painter.drawPath(outline);
    painter.restore();
}

void DrawTitle(QPainter& painter, const SkinArt& art) {
    painter.setFont(ArtFont(17, true));
    painter.setPen(art.edgeDark);
    const QRectF words(20, 7, 110, 26);
    painter.drawText(words.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("SONDREL"));
    painter.setPen(art.accent.lighter(art.skin == 1 ? 130 : 100));
    painter.drawText(words, Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("SONDREL"));
    // A recording lamp beside the wordmark.
    QRadialGradient lamp(QPointF(118, 20), 5);
    lamp.setColorAt(0, QColor(255, 120, 110));
    lamp.setColorAt(0.6, QColor(210, 20, 20));
    lamp.setColorAt(1, QColor(90, 0, 0));
    painter.setPen(QPen(art.edgeDark, 0.8));
    painter.setBrush(lamp);
    painter.drawEllipse(QPointF(118, 20), 4.5, 4.5);
    // The accent rule under the top bar.
    QLinearGradient rule(10, 0, res::kMainWindowWidthPx - 10, 0);
    rule.setColorAt(0, QColor(0, 0, 0, 0));
    rule.setColorAt(0.15, art.accent);
    rule.setColorAt(0.85, art.accent);
    rule.setColorAt(1, QColor(0, 0, 0, 0));
    painter.fillRect(QRectF(10, 42, res::kMainWindowWidthPx - 20, 1.5), rule);
}

// Rows of small holes, like a speaker grille, either side of the button dock.
void DrawGrille(QPainter& painter, const SkinArt& art, const QRectF& area) {
    painter.setPen(Qt::NoPen);
    for (double y = area.top() + 3; y < area.bottom() - 2; y += 5) {
        for (double x = area.left() + 3; x < area.right() - 2; x += 5) {
            painter.setBrush(art.edgeDark);
            painter.drawEllipse(QPointF(x, y), 1.3, 1.3);
            painter.setBrush(QColor(255, 255, 255, 40));
            painter.drawEllipse(QPointF(x + 0.6, y + 0.8), 0.6, 0.6);
        }
    }
}

void DrawScreen(QPainter& painter, const SkinArt& art, const QRectF& rect) {
    DrawPanel(painter, rect.adjusted(-2, -2, 2, 2), art.edgeDark, 4, true);
    painter.fillRect(rect, art.screen);
    QColor grid = art.accent;
    grid.setAlpha(40);
    painter.setPen(QPen(grid, 1));
    for (double x = rect.left() + 12; x < rect.right(); x += 12) {
        painter.drawLine(QPointF(x, rect.top()), QPointF(x, rect.bottom()));
    }
    painter.drawLine(QPointF(rect.left(), rect.center().y()),
                     QPointF(rect.right(), rect.center().y()));
}

} // namespace

QImage DrawBackground(const SkinArt& art) {
    QImage image(res::kMainWindowWidthPx, res::kMainWindowHeightPx, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = WindowOutline();
    DrawBody(painter, art, outline);
    DrawTitle(painter, art);

    // Title line (shown for Chinese) and the skin button's seat.
    DrawPanel(painter, Around({1058}, 3), art.panel, 4, true);
    DrawPanel(painter, Around({1044}, 2), art.edgeDark, 5, true);
    // Recording source; output mode and drive.
    DrawPanel(painter, QRectF(6, 48, 268, 30), art.panel, 6, true);
    DrawPanel(painter, QRectF(6, 83, 268, 55), art.panel, 6, true);
    // Track list and the row under it.
    DrawPanel(painter, Around({1009}, 3), art.edgeDark, 4, true);
    DrawPanel(painter, QRectF(6, 299, 268, 24), art.panel, 6, true);
    DrawScreen(painter, art, ControlRect(1038));
    // Volume, read-outs, capacity and progress.
    DrawPanel(painter, QRectF(6, 378, 268, 77), art.panel, 6, true);
    DrawPanel(painter, Around({1017, 1031}, 1).adjusted(-3, 0, 40, 0), art.readout, 3, true);
    DrawPanel(painter, Around({1026}, 1), art.skinColour, 4, true);
    DrawPanel(painter, Around({1016}, 2), art.edgeDark, 3, true);
    // Button dock with grilles either side, and the banner strip.
    DrawPanel(painter, Around({1033, 1036}, 3).adjusted(0, 0, 0, -2), art.bodyBottom, 8, true);
    DrawGrille(painter, art, QRectF(14, 458, 44, 34));
    DrawGrille(painter, art, QRectF(229, 458, 40, 34));
    DrawPanel(painter, Around({1057}, 0).adjusted(2, 0, -2, -1), art.banner, 7, true);
    painter.end();
    return image;
}

} // namespace artgen
