#include "ui/main/CalendarCommands.h"

#include <QDateTime>
#include <QFileDialog>

#include "exchange/Calendar.h"
#include "platform/CalendarModule.h"
#include "platform/ShownText.h"
#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "ui/main/CalendarFileKeeper.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/GridCommands.h"

namespace pesterly {
namespace {
QString CalendarFilter() {
    return QStringLiteral("iCalendar (*.ics);;") +
           QCoreApplication::translate("ExchangeCommands", "All files (*)");
}
}  // namespace

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
        asker_.Tell(QCoreApplication::translate(
                        "ExchangeCommands",
                        "There is nothing to export: select the events to export first.")
                        .toStdString());
        return;
    }
    const QString path = QFileDialog::getSaveFileName(window_, tr("Export to Calendar"), QString(),
                                                      CalendarFilter());
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}

void CalendarCommands::ExportTo(const QString& path) {
    if (const Result<void> written =
            WriteCalendarFile(path, CalendarItemsOf(db_, commands_.SelectedSlots()),
                              QDateTime::currentSecsSinceEpoch());
        !written) {
        asker_.Tell(Shown(written.error()).toStdString());
    }
}

void CalendarCommands::Import() {
    const QString path = QFileDialog::getOpenFileName(window_, tr("Import from Calendar"),
                                                      QString(), CalendarFilter());
    if (!path.isEmpty()) {
        ImportFrom(path);
    }
}

void CalendarCommands::ImportFrom(const QString& path) {
    const Result<std::vector<CalendarItem>> items = ReadCalendarFile(path);
    if (!items) {
        asker_.Tell(tr("%1\nNothing was imported.").arg(Shown(items.error())).toStdString());
        return;
    }
    const CalendarImportSummary summary = ImportCalendar(db_, *items, clock_.Today());
    for (const int slot : summary.events.appended_slots) {
        grid_.SetRows(grid_.Rows() + 1);
        commands_.FillRow(grid_.Rows() - 2, slot);
    }
    if (const std::optional<Text> report = CalendarImportReport(summary)) {
        asker_.Explain(*report);
    }
}

bool CalendarCommands::ToggleKeptFile() {
    QString path;
    if (keeper_->Path().isEmpty()) {
        path = QFileDialog::getSaveFileName(window_, tr("Keep Calendar File"),
                                            QStringLiteral("pesterly.ics"), CalendarFilter());
        if (path.isEmpty()) {
            return false;
        }
    }
    if (const Result<void> kept = keeper_->KeepAt(path); !kept) {
        asker_.Tell(Shown(kept.error()).toStdString());
    }
    return !keeper_->Path().isEmpty();
}

}  // namespace pesterly
