#pragma once
// The header of the track list. The heading of one marked column is drawn
// here; on column 0 it carries a check box that checks or clears every row of
// the list at once (checkAllChanged tells the list).

#include <QCursor>
#include <QHeaderView>

#include <cstdint>

class CListHeaderCtrl : public QHeaderView {
    Q_OBJECT

public:
    explicit CListHeaderCtrl(QWidget* parent = nullptr);

    // The column whose heading is drawn here; -1 for none. Repaints.
    void SetMarkedColumn(int column);

    // State of the heading's check box.
    bool IsCheckAll() const { return m_bCheckAll != 0; }

signals:
    // The heading's check box was clicked; `checked` is its new state.
    void checkAllChanged(bool checked);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // True when a press at header x lands on the check box of column 0.
    bool HitsCheckBox(int x) const;
    void DrawMarkedHeading(QPainter* painter, const QRect& rect, int logicalIndex) const;
    void DrawCheckBox(QPainter* painter, const QRect& rect) const;

    std::int32_t m_bOwnerDraw = 1;
    QCursor m_hArrowCursor{Qt::ArrowCursor};
    std::int32_t m_nMarkedColumn = -1;
    std::uint8_t m_bCheckAll = 1;
    // The heading held down by the left button, -1 for none.
    int m_nPressedColumn = -1;
};
