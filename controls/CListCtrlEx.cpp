#include "controls/CListCtrlEx.h"

#include "controls/ListLabelDelegate.h"
#include "controls/ListTextLayout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

namespace {

constexpr int kSmallIconPx = 16;
// A press left of this x on a row flips the row's check mark.
constexpr int kCheckHitPx = 38;
// Left part of a highlighted row, under the check box, that keeps the
// list's background.
constexpr int kCheckStripPx = 19;
// The label text starts this far right of the check box's left edge.
constexpr int kCheckBoxTextGapPx = 15;
constexpr int kCheckPenPx = 2;
constexpr int kImageRole = Qt::UserRole;

// The row font, made for each row drawn. Where the face is not installed,
// Qt's font matching picks the nearest one.
QFont RowFont() {
    QFont font(QStringLiteral("MS PMincho"));
    font.setPixelSize(12);
    font.setWeight(QFont::Light);
    return font;
}

} // namespace

CListCtrlEx::CListCtrlEx(QWidget* parent)
    : QTreeView(parent), m_header(new CListHeaderCtrl(this)),
      m_model(new QStandardItemModel(this)) {
    m_checks.fill(1);
    m_clrText = palette().color(QPalette::Text);
    m_clrBkgnd = palette().color(QPalette::Base);
    m_rowHeightPx = std::max(kSmallIconPx, fontMetrics().height()) + 2;
    setHeader(m_header);
    setModel(m_model);
    setItemDelegate(new ListLabelDelegate(m_rowHeightPx, this));
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Labels are edited only on request (Alt with a press).
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_header, &CListHeaderCtrl::checkAllChanged, this, &CListCtrlEx::SetAllChecks);
}

bool CListCtrlEx::EnableFullRowSelect(bool enable) {
    const bool changed = (m_bFullRowSelect != 0) != enable;
    m_bFullRowSelect = enable ? 1 : 0;
    if (changed) {
        viewport()->update();
    }
    return changed;
}

bool CListCtrlEx::IsItemChecked(int row) const {
    return row >= 0 && row < kCheckedRows && m_checks[static_cast<std::size_t>(row)] != 0;
}

void CListCtrlEx::SetAllChecks(bool checked) {
    m_checks.fill(checked ? 1 : 0);
    viewport()->update();
}

void CListCtrlEx::MarkHeaderColumn(int column) {
    m_header->SetMarkedColumn(column);
}

void CListCtrlEx::SetTextColor(const QColor& colour) {
    m_clrText = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colour);
    setPalette(colours);
}

void CListCtrlEx::SetBkColor(const QColor& colour) {
    m_clrBkgnd = colour;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colour);
    setPalette(colours);
}

void CListCtrlEx::SetShowSelectionAlways(bool always) {
    m_bShowSelAlways = always;
    viewport()->update();
}

void CListCtrlEx::SetSmallImages(std::vector<QPixmap> images) {
    m_smallImages = std::move(images);
    viewport()->update();
}

void CListCtrlEx::InsertColumn(int column, const QString& heading, Qt::Alignment alignment,
                               int widthPx) {
    const int at = std::clamp(column, 0, m_model->columnCount());
    m_model->insertColumn(at);
    m_model->setHeaderData(at, Qt::Horizontal, heading);
    m_model->setHeaderData(at, Qt::Horizontal, static_cast<int>(alignment), Qt::TextAlignmentRole);
    SetColumnWidth(at, widthPx);
}

void CListCtrlEx::DeleteColumn(int column) {
    m_model->removeColumn(column);
}

void CListCtrlEx::SetColumnWidth(int column, int widthPx) {
    m_header->resizeSection(column, std::max(0, widthPx));
}

int CListCtrlEx::GetColumnCount() const {
    return m_model->columnCount();
}

int CListCtrlEx::InsertItem(int row, const QString& text, int imageIndex) {
    const int at = std::clamp(row, 0, m_model->rowCount());
    auto* item = new QStandardItem(text);
    item->setData(imageIndex, kImageRole);
    m_model->insertRow(at, item);
    return at;
}

void CListCtrlEx::SetItemText(int row, int column, const QString& text) {
    const QModelIndex cell = m_model->index(row, column);
    if (cell.isValid()) {
        m_model->setData(cell, text);
    }
}

QString CListCtrlEx::GetItemText(int row, int column) const {
    return m_model->index(row, column).data().toString();
}

int CListCtrlEx::GetItemCount() const {
    return m_model->rowCount();
}

void CListCtrlEx::DeleteAllItems() {
    m_model->removeRows(0, m_model->rowCount());
}

int CListCtrlEx::ColumnAtX(int x) const {
    int rest = x;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        rest -= m_header->sectionSize(logical);
        if (rest < 0) {
            return logical;
        }
    }
    return -1;
}

bool CListCtrlEx::IsRowHighlighted(const QModelIndex& index) const {
    if (!selectionModel()->isSelected(m_model->index(index.row(), 0))) {
        return false;
    }
    const QWidget* focus = QApplication::focusWidget();
    const bool focused = hasFocus() || (focus != nullptr && isAncestorOf(focus));
    return focused || m_bShowSelAlways;
}

void CListCtrlEx::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    if (m_bFullRowSelect == 0 || m_model->columnCount() == 0) {
        QTreeView::drawRow(painter, option, index);
        return;
    }
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    const int row = index.row();
    const bool highlighted = IsRowHighlighted(index);
    // Rectangles as the row lays out: the whole row, the icon, and the
    // text part of column 0 after the icon.
    const int top = option.rect.top();
    const int height = option.rect.height();
    const QRect bounds(m_header->sectionViewportPosition(m_header->logicalIndex(0)), top,
                       m_header->length(), height);
    const int iconWidth = m_smallImages.empty() ? 0 : kSmallIconPx;
    const QRect iconRect(bounds.left(), top, iconWidth, height);
    QRect label(bounds.left() + iconWidth, top, m_header->sectionSize(0) - iconWidth, height);

    QRect highlight(label.left(), top, bounds.right() - label.left() + 1, height);
    if (m_bClientWidthSelect != 0 && highlight.right() < viewport()->width() - 1) {
        highlight.setRight(viewport()->width() - 1);
    }
    if (highlighted) {
        painter->fillRect(highlight.adjusted(kCheckStripPx, 0, 0, 0), m_clrText);
    } else {
        painter->fillRect(highlight, m_clrBkgnd);
    }
    DrawRowIcon(painter, iconRect, row, highlighted);

    const int offset = ListTextLayout::SpaceOffset(painter->font());
    label.adjust(offset / 2 - 1, 0, -offset, 0);
    painter->setFont(RowFont());
    painter->setPen(highlighted ? m_clrBkgnd : m_clrText);
    DrawRowTexts(painter, bounds, label, row, offset);
    DrawRowCheck(painter, label, IsItemChecked(row));
    painter->restore();
}

void CListCtrlEx::DrawRowIcon(QPainter* painter, const QRect& iconRect, int row,
                              bool highlighted) const {
    const int image = m_model->index(row, 0).data(kImageRole).toInt();
    if (iconRect.width() == 0 || image < 0 ||
        static_cast<std::size_t>(image) >= m_smallImages.size()) {
        return;
    }
    painter->save();
    painter->setOpacity(highlighted ? 0.5 : 1.0);
    painter->drawPixmap(iconRect.topLeft(), m_smallImages[static_cast<std::size_t>(image)]);
    painter->restore();
}

void CListCtrlEx::DrawRowTexts(QPainter* painter, const QRect& bounds, const QRect& label, int row,
                               int offset) const {
    ListTextLayout::DrawCellText(painter, label.adjusted(kCheckBoxTextGapPx, 0, 0, 0),
                                 GetItemText(row, 0), QVariant());
    int columnLeft = bounds.left() + m_header->sectionSize(0);
    for (int column = 1; column < m_model->columnCount(); ++column) {
        const int width = m_header->sectionSize(column);
        const QRect text(columnLeft + offset - 10, label.top(), width - 2 * offset + 10,
                         label.height());
        ListTextLayout::DrawCellText(
            painter, text, GetItemText(row, column),
            m_model->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole));
        columnLeft += width;
    }
}

void CListCtrlEx::DrawRowCheck(QPainter* painter, const QRect& label, bool checked) const {
    // Bottom as an exclusive bound: one past the row's last pixel line.
    const int left = label.left();
    const int top = label.top();
    const int bottom = label.top() + label.height();
    painter->setPen(QPen(m_clrText, kCheckPenPx));
    const QPoint outline[] = {{left + 13, top + 3},
                              {left + 13, bottom - 1},
                              {left + 1, bottom - 1},
                              {left + 1, top + 2},
                              {left + 13, top + 3}};
    painter->drawPolyline(outline, 5);
    if (checked) {
        painter->drawLine(left + 2, top + 10, left + 5, bottom - 4);
        painter->drawLine(left + 12, top + 6, left + 5, bottom - 4);
    }
}

void CListCtrlEx::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    const QPoint at = event->position().toPoint();
    const QModelIndex hit = indexAt(at);
    const int row = hit.isValid() ? hit.row() : -1;
    const bool onCell = row >= 0 && ColumnAtX(at.x()) >= 0;
    if (onCell && at.x() < kCheckHitPx && row < kCheckedRows) {
        auto& mark = m_checks[static_cast<std::size_t>(row)];
        mark = mark != 0 ? 0 : 1;
        viewport()->update(QRect(0, visualRect(hit).top(), viewport()->width(), m_rowHeightPx));
    }
    if (!event->modifiers().testFlag(Qt::AltModifier)) {
        QTreeView::mousePressEvent(event);
        emit listActivity();
        return;
    }
    if (onCell) {
        setFocus(Qt::MouseFocusReason);
        const QPersistentModelIndex label(m_model->index(row, 0));
        QMetaObject::invokeMethod(
            this,
            [this, label] {
                if (label.isValid()) {
                    edit(label);
                }
            },
            Qt::QueuedConnection);
    }
}

void CListCtrlEx::keyPressEvent(QKeyEvent* event) {
    QTreeView::keyPressEvent(event);
    emit listActivity();
}

void CListCtrlEx::focusInEvent(QFocusEvent* event) {
    QTreeView::focusInEvent(event);
    RepaintOnFocusChange();
}

void CListCtrlEx::focusOutEvent(QFocusEvent* event) {
    QTreeView::focusOutEvent(event);
    RepaintOnFocusChange();
}

void CListCtrlEx::RepaintOnFocusChange() {
    // Focus passing to the label editor changes nothing the rows show.
    const QWidget* focus = QApplication::focusWidget();
    if (m_bFullRowSelect == 0 || (focus != nullptr && focus != this && isAncestorOf(focus))) {
        return;
    }
    viewport()->update();
}
