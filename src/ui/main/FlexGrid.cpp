#include "ui/main/FlexGrid.h"

#include <QHeaderView>
#include <QMouseEvent>
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

    QVariant data(int role) const override {
        if (role == Qt::ToolTipRole || role == Qt::AccessibleDescriptionRole) {
            if (const auto* grid = static_cast<const FlexGrid*>(tableWidget())) {
                return grid->RowTip(row() + 1);
            }
        }
        return QTableWidgetItem::data(role);
    }
};

}  // namespace

FlexGrid::FlexGrid(int columns, QWidget* parent) : QTableWidget(0, columns, parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // Tab leaves the grid for the next control of the window, as in any form.
    setTabKeyNavigation(false);
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

void FlexGrid::SetRowCol(int row, int col) {
    if (row >= 1 && row <= rowCount()) {
        setCurrentCell(row - 1, std::clamp(col, 0, columnCount() - 1),
                       QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        clearSelection();
        setCurrentCell(-1, -1);
    }
}

void FlexGrid::focusInEvent(QFocusEvent* event) {
    const bool had_current = currentIndex().isValid();
    QTableWidget::focusInEvent(event);
    if (!had_current && currentIndex().isValid()) {
        SetRow(0);
    }
}

void FlexGrid::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (!indexAt(event->position().toPoint()).isValid()) {
        SetRow(0);
    }
}

std::vector<int> FlexGrid::SelectedRows() const {
    std::vector<int> rows;
    for (const QTableWidgetSelectionRange& range : selectedRanges()) {
        for (int row = range.topRow(); row <= range.bottomRow(); ++row) {
            rows.push_back(row + 1);
        }
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
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
    SetRowCol(1, col);
}

}  // namespace pesterly
