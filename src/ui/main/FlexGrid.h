#pragma once

#include <QString>
#include <QTableWidget>

namespace pesterly {

// A table in the manner of a flex grid: row 0 is the fixed header row and rows 1 to Rows() - 1
// hold the data. Rows and columns are counted that way in every member below.
class FlexGrid : public QTableWidget {
    Q_OBJECT

  public:
    explicit FlexGrid(int columns, QWidget* parent = nullptr);

    int Rows() const { return rowCount() + 1; }
    // Adds empty rows at the end or drops rows from the end.
    void SetRows(int rows);

    // The current row, 0 when no data row is current.
    int Row() const;
    void SetRow(int row);
    // The other end of the selected range of rows; equal to Row() for a single row.
    int RowSel() const;

    QString CellText(int row, int col) const;
    void SetCellText(int row, int col, const QString& text);

    void SetColWidth(int col, int pixels) { setColumnWidth(col, pixels); }

    // Sorts the data rows ascending on one column: cells that read as numbers compare as
    // numbers and come first, other cells compare as text. The first data row is current
    // afterwards.
    void SortGeneric(int col);
};

}  // namespace pesterly
