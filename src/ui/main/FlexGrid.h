#pragma once

#include <QString>
#include <QTableWidget>
#include <algorithm>
#include <functional>
#include <vector>

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

    // The current row, 0 when no data row is current. Whatever data row is current is also
    // shown selected, so the user sees which event a command will act on.
    int Row() const;
    // Makes a cell current and selects its row alone; row 0 leaves no data row current.
    void SetRowCol(int row, int col);
    void SetRow(int row) { SetRowCol(row, std::max(currentColumn(), 0)); }
    // The data rows shown selected, top to bottom, however they were selected: a click, a
    // drag, Shift with a click or the arrow keys, Ctrl+A. They need not include Row().
    std::vector<int> SelectedRows() const;

    QString CellText(int row, int col) const;
    void SetCellText(int row, int col, const QString& text);

    void SetColWidth(int col, int pixels) { setColumnWidth(col, pixels); }

    // Sorts the data rows ascending on one column: cells that read as numbers compare as
    // numbers and come first, other cells compare as text. The first data row is current
    // afterwards.
    void SortGeneric(int col);

    // Gives every data row's cells a tooltip, also read out as their accessible description,
    // asked for afresh each time it is shown, so that it never goes stale.
    void SetRowTip(std::function<QString(int row)> tip) { row_tip_ = std::move(tip); }
    QString RowTip(int row) const { return row_tip_ ? row_tip_(row) : QString(); }

  protected:
    // Taking the focus does not make a cell current, and a click beside the rows leaves no
    // row current rather than one that is not shown selected.
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    std::function<QString(int row)> row_tip_;
};

}  // namespace pesterly
