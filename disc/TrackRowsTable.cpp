#include "disc/TrackRowsTable.h"

namespace disc {

void TrackRowsTable::DeleteAllRows() {
    m_rows.clear();
    m_selected = -1;
}

int TrackRowsTable::RowCount() const {
    return static_cast<int>(m_rows.size());
}

void TrackRowsTable::InsertRow(int row, const std::string& trackText) {
    if (row < 0 || row > RowCount()) {
        row = RowCount();
    }
    Row added;
    added.cells[kColumnTrack] = trackText;
    m_rows.insert(m_rows.begin() + row, added);
    if (m_selected >= row) {
        ++m_selected;
    }
}

void TrackRowsTable::SetCell(int row, int column, const std::string& text) {
    if (Valid(row) && column >= 0 && column < kColumns) {
        m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = text;
    }
}

std::string TrackRowsTable::Cell(int row, int column) const {
    if (!Valid(row) || column < 0 || column >= kColumns) {
        return {};
    }
    return m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

bool TrackRowsTable::IsChecked(int row) const {
    return Valid(row) && m_rows[static_cast<std::size_t>(row)].checked;
}

void TrackRowsTable::SelectRow(int row) {
    m_selected = Valid(row) ? row : -1;
}

int TrackRowsTable::SelectedRow() const {
    return m_selected;
}

void TrackRowsTable::SetChecked(int row, bool checked) {
    if (Valid(row)) {
        m_rows[static_cast<std::size_t>(row)].checked = checked;
    }
}

bool TrackRowsTable::Valid(int row) const {
    return row >= 0 && row < RowCount();
}

} // namespace disc
