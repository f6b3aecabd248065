#include "controls/ListLabelDelegate.h"

#include <QKeyEvent>

ListLabelDelegate::ListLabelDelegate(int rowHeightPx, QObject* parent)
    : QStyledItemDelegate(parent), m_rowHeightPx(rowHeightPx) {}

QSize ListLabelDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    return {QStyledItemDelegate::sizeHint(option, index).width(), m_rowHeightPx};
}

void ListLabelDelegate::setModelData(QWidget* /*editor*/, QAbstractItemModel* /*model*/,
                                     const QModelIndex& /*index*/) const {
    // Edited labels are refused: the row keeps its text.
}

bool ListLabelDelegate::eventFilter(QObject* editor, QEvent* event) {
    if (QStyledItemDelegate::eventFilter(editor, event)) {
        return true;
    }
    // The base has already arranged to end the edit on Return; the line
    // editor would pass the key on to the list, which must not see it.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        return key == Qt::Key_Return || key == Qt::Key_Enter;
    }
    return false;
}
