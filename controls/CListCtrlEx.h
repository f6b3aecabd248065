#pragma once
// The track list: a report-style list whose rows are drawn here (full-row
// selection in inverted colours, a fixed row font) with a check mark per row
// that says whether the track takes part in saving. The header's first
// heading carries a box that checks or clears every row.
//
// Check marks belong to row positions 0..511, not to the rows' contents: they
// keep their values while the rows are refilled. A press left of x = 38 on a
// row flips its mark; Alt with a press opens the label editor on the row's
// first cell, whose edits are never taken. listActivity() follows every key
// press and every plain left press.

#include "controls/CListHeaderCtrl.h"

#include <QColor>
#include <QPixmap>
#include <QStandardItemModel>
#include <QTreeView>

#include <array>
#include <cstdint>
#include <vector>

class CListCtrlEx : public QTreeView {
    Q_OBJECT

public:
    static constexpr int kCheckedRows = 512;

    explicit CListCtrlEx(QWidget* parent = nullptr);

    // Rows drawn here across all columns (on) or by Qt's default item
    // painting (off). Returns whether the setting changed.
    bool EnableFullRowSelect(bool enable);
    // The check mark of `row`; false for rows outside 0..511.
    [[nodiscard]] bool IsItemChecked(int row) const;
    // Sets or clears the marks of all 512 row positions and repaints.
    void SetAllChecks(bool checked);
    void MarkHeaderColumn(int column);

    void SetTextColor(const QColor& colour);
    void SetBkColor(const QColor& colour);
    // Whether a selected row stays highlighted while the list has no focus.
    void SetShowSelectionAlways(bool always);

    // Small images drawn at the left of a row, chosen by the row's image index.
    void SetSmallImages(std::vector<QPixmap> images);

    // Columns and rows, for the owner that fills the list.
    void InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int widthPx);
    void DeleteColumn(int column);
    void SetColumnWidth(int column, int widthPx);
    [[nodiscard]] int GetColumnCount() const;
    // Inserts a row at `row` (clamped to the end) with `text` in column 0;
    // returns the row's position.
    int InsertItem(int row, const QString& text, int imageIndex);
    void SetItemText(int row, int column, const QString& text);
    [[nodiscard]] QString GetItemText(int row, int column) const;
    [[nodiscard]] int GetItemCount() const;
    void DeleteAllItems();

    CListHeaderCtrl& Header() { return *m_header; }

signals:
    // After each key press and each plain left press in the list.
    void listActivity();

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The column under viewport x, walking the columns in display order; -1
    // beyond the last one.
    int ColumnAtX(int x) const;
    bool IsRowHighlighted(const QModelIndex& index) const;
    // The check box and its tick left of a row's label.
    void DrawRowCheck(QPainter* painter, const QRect& label, bool checked) const;
    void DrawRowIcon(QPainter* painter, const QRect& iconRect, int row, bool highlighted) const;
    void DrawRowTexts(QPainter* painter, const QRect& bounds, const QRect& label, int row,
                      int offset) const;
    // Repaints the highlighted rows when focus comes or goes.
    void RepaintOnFocusChange();

    std::int32_t m_bFullRowSelect = 0;
    std::int32_t m_bClientWidthSelect = 1;
    CListHeaderCtrl* m_header = nullptr;
    QColor m_clrText;
    QColor m_clrBkgnd;
    std::array<std::uint8_t, kCheckedRows> m_checks{};
    bool m_bShowSelAlways = false;
    QStandardItemModel* m_model = nullptr;
    std::vector<QPixmap> m_smallImages;
    int m_rowHeightPx = 0;
};
