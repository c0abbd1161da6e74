#pragma once

#include <QCoreApplication>
#include <functional>
#include <vector>

class QWidget;

namespace pesterly {

class Clock;
class EditHappening;
class FlexGrid;
class QuestionAsker;
struct Database;

// The event grid and the commands on it: one row per event, add, edit, delete and sort. Which
// row is current: none after start-up; a filled row at its date column; after a sort the first
// event row. Whatever row is current is shown selected. Commands act on the rows shown
// selected, which the user may have chosen without making any row current (Ctrl+A).
class GridCommands {
    Q_DECLARE_TR_FUNCTIONS(GridCommands)

  public:
    // `window` owns the event editor.
    GridCommands(FlexGrid& grid, Database& db, const Clock& clock, QuestionAsker& asker,
                 QWidget* window);

    // One row per event, the header texts, and no event row current.
    void Load();
    // Writes event slot hapnum into grid data row rownum, that is grid row rownum + 1.
    void FillRow(int rownum, int hapnum);
    // Shows the table again in slot order.
    void Refill();
    // The slot of the event shown in a grid row, from the row's slot column; -1 when the row
    // shows no live event.
    int SlotOfRow(int row) const;
    // The slots of the events in the rows shown selected, top to bottom: what Export Events
    // writes.
    std::vector<int> SelectedSlots() const;

    // Runs after each change these commands make to the table: an event added, edited or
    // deleted, a category added in the editor.
    void OnTableChanged(std::function<void()> changed) { changed_ = std::move(changed); }

    void AddNew();
    // Opens the event of the one row shown selected; nothing when none or several are.
    void EditCurrent();
    // Deletes the event of the one row shown selected; with several rows selected it says that
    // only one event is deleted at a time.
    void DeleteCurrent();
    // Only header clicks come here: they sort the event rows by that column.
    void Sort(int col);

  private:
    // FillRow without moving the current row; true when the date column was written.
    bool WriteRow(int rownum, int hapnum);

    FlexGrid& grid_;
    Database& db_;
    const Clock& clock_;
    QuestionAsker& asker_;
    QWidget* window_;
    std::function<void()> changed_ = [] {};
    // Made on first use and kept.
    EditHappening* editor_ = nullptr;
};

}  // namespace pesterly
