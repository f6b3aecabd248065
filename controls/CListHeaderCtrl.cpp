#include "controls/CListHeaderCtrl.h"

#include "controls/ListTextLayout.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The heading's check box spans these pixels from the heading's left edge.
constexpr int kCheckBoxLeftPx = 3;
constexpr int kCheckBoxRightPx = 15;
// A press at or left of this x toggles the box.
constexpr int kCheckBoxHitPx = 15;
// Text of column 0 starts this much further right, beside the box.
constexpr int kCheckBoxTextGapPx = 15;

} // namespace

CListHeaderCtrl::CListHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setStretchLastSection(false);
    // Columns of width 0 carry data the user does not see.
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CListHeaderCtrl::SetMarkedColumn(int column) {
    m_nMarkedColumn = column;
    viewport()->update();
}

bool CListHeaderCtrl::HitsCheckBox(int x) const {
    int right = 0;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        right += sectionSize(logical);
        if (logical == 0) {
            return right >= x && x <= kCheckBoxHitPx;
        }
    }
    return false;
}

void CListHeaderCtrl::mousePressEvent(QMouseEvent* event) {
    setCursor(m_hArrowCursor);
    if (event->button() != Qt::LeftButton) {
        QHeaderView::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    m_nPressedColumn = logicalIndexAt(x);
    if (!HitsCheckBox(x)) {
        QHeaderView::mousePressEvent(event);
        return;
    }
    m_bCheckAll = m_bCheckAll != 0 ? 0 : 1;
    QHeaderView::mousePressEvent(event);
    viewport()->update();
    emit checkAllChanged(m_bCheckAll != 0);
}

void CListHeaderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    setCursor(m_hArrowCursor);
    if (event->button() == Qt::LeftButton && m_nPressedColumn >= 0) {
        m_nPressedColumn = -1;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

void CListHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (m_bOwnerDraw == 0 || logicalIndex != m_nMarkedColumn) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    DrawMarkedHeading(painter, rect, logicalIndex);
    painter->restore();
}

void CListHeaderCtrl::DrawMarkedHeading(QPainter* painter, const QRect& rect,
                                        int logicalIndex) const {
    painter->fillRect(rect, palette().color(QPalette::Button));
    const int offset = ListTextLayout::SpaceOffset(painter->font());
    const QString text =
        model() != nullptr
            ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString().left(255)
            : QString();
    const QVariant alignment =
        model() != nullptr ? model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole)
                           : QVariant();
    QRect textRect = rect;
    if (logicalIndex == m_nPressedColumn) {
        textRect.adjust(1, 2, 1, 0);
    }
    textRect.setRight(textRect.right() - 4 * offset);
    textRect.setLeft(textRect.left() + offset + (logicalIndex == 0 ? kCheckBoxTextGapPx : 0));
    painter->setPen(palette().color(QPalette::ButtonText));
    ListTextLayout::DrawCellText(painter, textRect, text, alignment);
    if (logicalIndex == 0) {
        DrawCheckBox(painter, rect);
    }
}

void CListHeaderCtrl::DrawCheckBox(QPainter* painter, const QRect& rect) const {
    // Edges as exclusive bounds: bottom is one past the last pixel row.
    const int left = rect.left() + kCheckBoxLeftPx;
    const int right = rect.left() + kCheckBoxRightPx;
    const int top = rect.top() + 3;
    const int bottom = rect.top() + rect.height() - 5;
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(palette().color(QPalette::Light), 1));
    painter->drawLine(right, bottom, right, top);
    painter->drawLine(right, bottom, left, bottom);
    painter->setPen(QPen(palette().color(QPalette::Dark), 2));
    painter->drawLine(left, top, left, bottom);
    painter->drawLine(left, top, right, top);
    if (m_bCheckAll != 0) {
        const int middle = left + 1 + (right - left) / 2;
        painter->setPen(QPen(Qt::black, 2));
        painter->drawLine(left + 3, top + 5, middle, bottom - 2);
        painter->drawLine(right - 1, top + 3, middle, bottom - 2);
    }
}
