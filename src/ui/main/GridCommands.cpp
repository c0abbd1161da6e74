#include "ui/main/GridCommands.h"

#include <QLocale>

#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/TextForms.h"
#include "ui/dialogs/EditHappening.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {

GridCommands::GridCommands(FlexGrid& grid, Database& db, const Clock& clock, QuestionAsker& asker,
                           QWidget* window)
    : grid_(grid), db_(db), clock_(clock), asker_(asker), window_(window) {
    grid_.SetRowTip([this](int row) {
        const int slot = SlotOfRow(row);
        return slot < 0 ? QString()
                        : NextAskedText(db_.Happenings[slot], db_.options.CheckDate, clock_.Today(),
                                        QLocale());
    });
}

void GridCommands::Load() {
    grid_.SetRows(db_.HappeningCount + 1);
    for (int r = 0; r < db_.HappeningCount; ++r) {
        WriteRow(r, r);  // no row made current on the way: none is at the end
    }
    static const char* const kHeaders[] = {QT_TRANSLATE_NOOP("GridCommands", "Category"),
                                           QT_TRANSLATE_NOOP("GridCommands", "Email List?"),
                                           QT_TRANSLATE_NOOP("GridCommands", "Repeat"),
                                           QT_TRANSLATE_NOOP("GridCommands", "Date"),
                                           QT_TRANSLATE_NOOP("GridCommands", "Special Email"),
                                           QT_TRANSLATE_NOOP("GridCommands", "To Be Done")};
    grid_.SetRowCol(0, kColToBeDone);  // no event row is current until the user picks one
    for (int col = 0; col < kColSlot; ++col) {
        grid_.SetCellText(0, col, tr(kHeaders[col]));
    }
}

bool GridCommands::WriteRow(int rownum, int hapnum) {
    const RowTexts texts = FormatRow(db_, hapnum, QLocale());
    for (int col = 0; col < kGridColumns; ++col) {
        if (texts[col].has_value()) {
            grid_.SetCellText(rownum + 1, col, *texts[col]);
        }
    }
    return texts[kColDate].has_value();
}

void GridCommands::FillRow(int rownum, int hapnum) {
    // The filled row becomes the current one, at the last cell written.
    grid_.SetRowCol(rownum + 1, WriteRow(rownum, hapnum) ? kColDate : kColRepeat);
}

void GridCommands::Refill() {
    const int count = db_.HappeningCount;
    grid_.SetRows(count + 1);
    for (int j = 0; j < count; ++j) {
        FillRow(j, j);
    }
}

int GridCommands::SlotOfRow(int row) const {
    if (row < 1 || row >= grid_.Rows()) {
        return -1;
    }
    const int slot = forms::LeadingNumber(grid_.CellText(row, kColSlot).toStdString());
    return slot < db_.HappeningCount ? slot : -1;
}

std::vector<int> GridCommands::SelectedSlots() const {
    std::vector<int> chosen;
    for (const int row : grid_.SelectedRows()) {
        if (const int slot = SlotOfRow(row); slot >= 0) {
            chosen.push_back(slot);
        }
    }
    return chosen;
}

void GridCommands::AddNew() {
    if (db_.IsFull()) {
        asker_.Tell(tr("Pesterly keeps at most 101 events, and the table is full.\n\n"
                       "Delete an event you no longer need before adding a new one.")
                        .toStdString());
        return;
    }
    const DateValue today = clock_.Today();
    Happening event;  // a fresh record, not whatever a freed slot still holds
    event.EventDate = today;
    event.Repeat = kRepeatOneTime;
    event.Desc = "?";
    event.DoneDate = today.AddDays(-370);
    const int slot = db_.HappeningCount;
    grid_.SetRows(grid_.Rows() + 1);
    db_.AppendHappening(event);
    changed_();
    FillRow(slot, slot);
    EditCurrent();
}

void GridCommands::EditCurrent() {
    const std::vector<int> rows = grid_.SelectedRows();
    const int row = rows.size() == 1 ? rows.front() : 0;
    const int slot = SlotOfRow(row);
    if (slot < 0) {
        return;
    }
    db_.EditBuffer = db_.Happenings[slot];
    if (editor_ == nullptr) {
        editor_ = new EditHappening(db_, window_);
        QObject::connect(editor_, &EditHappening::CategoryAdded, editor_, [this] { changed_(); });
    }
    editor_->exec();
    if (!db_.EditCancelled) {
        db_.Happenings[slot] = db_.EditBuffer;
        changed_();
        FillRow(row - 1, slot);
    }
}

void GridCommands::DeleteCurrent() {
    const std::vector<int> rows = grid_.SelectedRows();
    if (rows.empty()) {
        return;
    }
    if (rows.size() > 1) {
        asker_.Tell(tr("I was too lazy to implement multiple event deletes").toStdString());
        return;
    }
    const int slot = SlotOfRow(rows.front());
    if (slot < 0) {
        return;
    }
    db_.RemoveHappening(slot);
    changed_();
    Refill();
}

void GridCommands::Sort(int col) {
    grid_.SortGeneric(col);
}

}  // namespace pesterly
