#include "ui/main/FlexGrid.h"

#include <QHeaderView>
#include <optional>

namespace pesterly {
namespace {

std::optional<double> AsNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok ? std::optional(value) : std::nullopt;
}

// A cell that sorts numbers as numbers and everything else as text.
class GridItem : public QTableWidgetItem {
  public:
    bool operator<(const QTableWidgetItem& other) const override {
        const auto mine = AsNumber(text());
        const auto theirs = AsNumber(other.text());
        if (mine && theirs) {
            return *mine < *theirs;
        }
        if (mine || theirs) {
            return mine.has_value();
        }
        return text() < other.text();
    }
};

}  // namespace

FlexGrid::FlexGrid(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    for (int col = 0; col < columns; ++col) {
        setHorizontalHeaderItem(col, new QTableWidgetItem());
    }
}

void FlexGrid::SetRows(int rows) {
    const int old_count = rowCount();
    setRowCount(std::max(rows - 1, 0));
    for (int r = old_count; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            setItem(r, c, new GridItem());
        }
    }
}

int FlexGrid::Row() const {
    return currentRow() + 1;
}

void FlexGrid::SetRow(int row) {
    if (row >= 1 && row <= rowCount()) {
        setCurrentCell(row - 1, std::max(currentColumn(), 0));
    } else {
        setCurrentCell(-1, -1);
    }
}

int FlexGrid::RowSel() const {
    const int current = currentRow();
    for (const QTableWidgetSelectionRange& range : selectedRanges()) {
        if (current >= range.topRow() && current <= range.bottomRow()) {
            return (current == range.topRow() ? range.bottomRow() : range.topRow()) + 1;
        }
    }
    return Row();
}

QString FlexGrid::CellText(int row, int col) const {
    const QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    return cell != nullptr ? cell->text() : QString();
}

void FlexGrid::SetCellText(int row, int col, const QString& text) {
    QTableWidgetItem* cell = row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
    if (cell != nullptr) {
        cell->setText(text);
    }
}

void FlexGrid::SortGeneric(int col) {
    if (rowCount() == 0) {
        return;
    }
    sortItems(col, Qt::AscendingOrder);
    clearSelection();
    SetRow(1);
}

}  // namespace pesterly
