#include "res/gen/ButtonArt.h"

#include "res/MainDialogTemplate.h"
#include "res/gen/Bevel.h"

#include <QPainter>

namespace artgen {

QImage DrawSkinButton(const SkinArt& art, const QImage& background, int controlId, QSize size,
                      Glyph glyph) {
    const res::DialogRect seat =
        res::MainDialogControlPixels(controlId).value_or(res::DialogRect{});
    QImage image = background.copy(seat.x, seat.y, size.width(), size.height());
    QPainter painter(&image);
    const QRectF face = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(1, 1, -1, -1);
    if (glyph == Glyph::Skins) {
        DrawGlyph(painter, glyph, face.adjusted(-1, -1, 1, 1), art.edgeDark);
    } else {
        DrawFace(painter, face, art.accent, 6);
        DrawGlyph(painter, glyph, face.adjusted(3, 3, -3, -3), art.accentText);
    }
    painter.end();
    return image;
}

QImage DrawSharedButton(Glyph glyph, QSize size, ButtonState state) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(48, 50, 58));
    QPainter painter(&image);
    QColor base(70, 74, 86);
    QColor mark(236, 240, 248);
    if (glyph == Glyph::Record) {
        base = QColor(176, 30, 34);
    } else if (glyph == Glyph::Stop) {
        base = QColor(196, 128, 20);
    }
    if (state == ButtonState::Pressed) {
        base = base.darker(135);
    } else if (state == ButtonState::Disabled) {
        base = QColor(88, 90, 96);
        mark = QColor(140, 142, 150);
    }
    const double inset = state == ButtonState::Pressed ? 1.5 : 1.0;
    const QRectF face = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(inset, inset, -1, -1);
    DrawFace(painter, face, base, 4);
    const QPointF shift = state == ButtonState::Pressed ? QPointF(0.5, 0.5) : QPointF(0, 0);
    DrawGlyph(painter, glyph, face.adjusted(2, 2, -2, -2).translated(shift), mark);
    painter.end();
    return image;
}

} // namespace artgen
