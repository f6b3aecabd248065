#pragma once
// Item delegate of the track list: every row has the same height, and the
// label editor opens on a cell but its result is never written back (the
// list does not accept edited labels). Keys typed into the editor stay with
// it: the Return that ends an edit does not reach the list as a key press.

#include <QStyledItemDelegate>

class ListLabelDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    ListLabelDelegate(int rowHeightPx, QObject* parent);

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    int m_rowHeightPx = 0;
};
