#pragma once
// Text placement shared by the track list's rows and its header: the margin
// unit (twice the width of a space) and single-line, vertically centred text
// that ends in an ellipsis when it does not fit.

#include <QFont>
#include <QRect>
#include <QString>
#include <QVariant>

class QPainter;

class ListTextLayout {
public:
    // Twice the width of one space in `font`.
    static int SpaceOffset(const QFont& font);

    // Draws `text` on one line in `rect` with the painter's font and pen,
    // vertically centred, horizontally as `alignment` (a Qt::Alignment in a
    // QVariant; left when empty) says, cut with an ellipsis when too long.
    static void DrawCellText(QPainter* painter, const QRect& rect, const QString& text,
                             const QVariant& alignment);
};
