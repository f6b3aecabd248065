#pragma once
// The track list control (1009) as the disc logic fills and reads it.

#include "controls/CListCtrlEx.h"
#include "disc/ITrackRows.h"

namespace window {

class ListTrackRows final : public disc::ITrackRows {
public:
    explicit ListTrackRows(CListCtrlEx& list) : m_list(list) {}

    void DeleteAllRows() override { m_list.DeleteAllItems(); }
    int RowCount() const override { return m_list.GetItemCount(); }
    void InsertRow(int row, const std::string& trackText) override {
        m_list.InsertItem(row, QString::fromStdString(trackText), 0);
    }
    void SetCell(int row, int column, const std::string& text) override {
        m_list.SetItemText(row, column, QString::fromStdString(text));
    }
    std::string Cell(int row, int column) const override {
        return m_list.GetItemText(row, column).toStdString();
    }
    bool IsChecked(int row) const override { return m_list.IsItemChecked(row); }
    void SelectRow(int row) override { m_list.setCurrentIndex(m_list.model()->index(row, 0)); }
    int SelectedRow() const override {
        const QModelIndexList rows = m_list.selectionModel()->selectedRows();
        return rows.isEmpty() ? -1 : rows.constFirst().row();
    }

private:
    CListCtrlEx& m_list;
};

} // namespace window
