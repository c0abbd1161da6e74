#include "ui/main/CalendarCommands.h"

#include <QDateTime>
#include <QFileDialog>

#include "exchange/Calendar.h"
#include "platform/CalendarModule.h"
#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "ui/main/CalendarFileKeeper.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/GridCommands.h"

namespace pesterly {
namespace {
const QString kCalendarFilter = QStringLiteral("iCalendar (*.ics);;All files (*)");
}

CalendarCommands::CalendarCommands(GridCommands& commands, FlexGrid& grid, Database& db,
                                   SettingsStore& store, const Clock& clock, QuestionAsker& asker,
                                   QWidget* window)
    : commands_(commands),
      grid_(grid),
      db_(db),
      clock_(clock),
      asker_(asker),
      window_(window),
      keeper_(std::make_unique<CalendarFileKeeper>(db, store, asker)) {}

CalendarCommands::~CalendarCommands() = default;

void CalendarCommands::Export() {
    if (commands_.SelectedSlots().empty()) {
        asker_.Tell("There is nothing to export: select the events to export first.");
        return;
    }
    const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Export to Calendar"),
                                                      QString(), kCalendarFilter);
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}

void CalendarCommands::ExportTo(const QString& path) {
    if (const Result<void> written =
            WriteCalendarFile(path, CalendarItemsOf(db_, commands_.SelectedSlots()),
                              QDateTime::currentSecsSinceEpoch());
        !written) {
        asker_.Tell(written.error().message);
    }
}

void CalendarCommands::Import() {
    const QString path = QFileDialog::getOpenFileName(
        window_, QStringLiteral("Import from Calendar"), QString(), kCalendarFilter);
    if (!path.isEmpty()) {
        ImportFrom(path);
    }
}

void CalendarCommands::ImportFrom(const QString& path) {
    const Result<std::vector<CalendarItem>> items = ReadCalendarFile(path);
    if (!items) {
        asker_.Tell(items.error().message + "\nNothing was imported.");
        return;
    }
    const CalendarImportSummary summary = ImportCalendar(db_, *items, clock_.Today());
    for (const int slot : summary.events.appended_slots) {
        grid_.SetRows(grid_.Rows() + 1);
        commands_.FillRow(grid_.Rows() - 2, slot);
    }
    if (const std::optional<std::string> report = CalendarImportReport(summary)) {
        asker_.Tell(*report);
    }
}

bool CalendarCommands::ToggleKeptFile() {
    QString path;
    if (keeper_->Path().isEmpty()) {
        path = QFileDialog::getSaveFileName(window_, QStringLiteral("Keep Calendar File"),
                                            QStringLiteral("pesterly.ics"), kCalendarFilter);
        if (path.isEmpty()) {
            return false;
        }
    }
    if (const Result<void> kept = keeper_->KeepAt(path); !kept) {
        asker_.Tell(kept.error().message);
    }
    return !keeper_->Path().isEmpty();
}

}  // namespace pesterly
