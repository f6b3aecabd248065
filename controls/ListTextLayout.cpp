#include "controls/ListTextLayout.h"

#include <QFontMetrics>
#include <QPainter>

int ListTextLayout::SpaceOffset(const QFont& font) {
    return 2 * QFontMetrics(font).horizontalAdvance(QLatin1Char(' '));
}

void ListTextLayout::DrawCellText(QPainter* painter, const QRect& rect, const QString& text,
                                  const QVariant& alignment) {
    if (rect.width() <= 0 || text.isEmpty()) {
        return;
    }
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (alignment.isValid()) {
        const auto given = Qt::Alignment(alignment.toInt());
        if (given & Qt::AlignRight) {
            horizontal = Qt::AlignRight;
        } else if (given & Qt::AlignHCenter) {
            horizontal = Qt::AlignHCenter;
        }
    }
    // Text is taken as it stands: '&' is no mnemonic marker here.
    const QString shown = painter->fontMetrics().elidedText(text, Qt::ElideRight, rect.width());
    painter->drawText(rect, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}
