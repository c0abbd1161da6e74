#pragma once

#include <QCoreApplication>
#include <memory>

class QString;
class QWidget;

namespace pesterly {

class CalendarFileKeeper;
class Clock;
class FlexGrid;
class GridCommands;
class QuestionAsker;
class SettingsStore;
struct Database;

// The File menu's calendar commands: export of the selected rows to an iCalendar file, import
// of a calendar's events and tasks, and the calendar file kept current.
class CalendarCommands {
    Q_DECLARE_TR_FUNCTIONS(CalendarCommands)

  public:
    // `window` is the parent of the file dialogs.
    CalendarCommands(GridCommands& commands, FlexGrid& grid, Database& db, SettingsStore& store,
                     const Clock& clock, QuestionAsker& asker, QWidget* window);
    ~CalendarCommands();

    // Asks where to, then exports the selected rows.
    void Export();
    // Writes the events of the selected grid rows to an iCalendar file.
    void ExportTo(const QString& path);
    // Asks which file, then imports it.
    void Import();
    // Appends the calendar's new events to the table and the grid, and says what was left out.
    void ImportFrom(const QString& path);
    // Turns the kept calendar file on (asking where) or off; true when it is on afterwards.
    bool ToggleKeptFile();
    CalendarFileKeeper& Keeper() { return *keeper_; }

  private:
    GridCommands& commands_;
    FlexGrid& grid_;
    Database& db_;
    const Clock& clock_;
    QuestionAsker& asker_;
    QWidget* window_;
    std::unique_ptr<CalendarFileKeeper> keeper_;
};

}  // namespace pesterly
