#pragma once
// The rows of a track list as the disc logic fills and reads them: the
// window's list control implements it, the command line and tests use
// TrackRowsTable. Rows and columns count from 0.

#include <string>

namespace disc {

enum TrackColumn : int {
    kColumnTrack = 0, // "TRACK INDEX": the track number
    kColumnTitle = 1, // "TITLE"
    kColumnTimes = 2, // "TIMES": the length as mm:ss:ff
    kColumnStart = 3, // "START POS": first sector
    kColumnEnd = 4,   // "END POS": last sector
};

class ITrackRows {
public:
    virtual ~ITrackRows() = default;

    virtual void DeleteAllRows() = 0;
    [[nodiscard]] virtual int RowCount() const = 0;
    // Inserts a row at `row` (image 0, checked) with `trackText` in column 0.
    virtual void InsertRow(int row, const std::string& trackText) = 0;
    virtual void SetCell(int row, int column, const std::string& text) = 0;
    [[nodiscard]] virtual std::string Cell(int row, int column) const = 0;
    [[nodiscard]] virtual bool IsChecked(int row) const = 0;
    // Makes `row` the only selected row.
    virtual void SelectRow(int row) = 0;
    // The first selected row; -1 when none is.
    [[nodiscard]] virtual int SelectedRow() const = 0;
};

} // namespace disc
