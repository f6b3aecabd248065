#pragma once
// A track list kept in memory: the rows of the command line and of tests.
// One thread at a time, as a list control is.

#include "disc/ITrackRows.h"

#include <array>
#include <string>
#include <vector>

namespace disc {

class TrackRowsTable final : public ITrackRows {
public:
    static constexpr int kColumns = 5;

    void DeleteAllRows() override;
    [[nodiscard]] int RowCount() const override;
    void InsertRow(int row, const std::string& trackText) override;
    void SetCell(int row, int column, const std::string& text) override;
    [[nodiscard]] std::string Cell(int row, int column) const override;
    [[nodiscard]] bool IsChecked(int row) const override;
    void SelectRow(int row) override;
    [[nodiscard]] int SelectedRow() const override;

    // Sets a row's check mark; out-of-range rows are ignored.
    void SetChecked(int row, bool checked);

private:
    struct Row {
        std::array<std::string, kColumns> cells{};
        bool checked = true;
    };
    [[nodiscard]] bool Valid(int row) const;

    std::vector<Row> m_rows;
    int m_selected = -1;
};

} // namespace disc
