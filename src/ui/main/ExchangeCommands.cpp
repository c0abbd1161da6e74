#include "ui/main/ExchangeCommands.h"

#include <QFileDialog>
#include <algorithm>

#include "exchange/ExchangeFile.h"
#include "exchange/ImportHappenings.h"
#include "platform/ShownText.h"
#include "platform/WholeFile.h"
#include "reminder/QuestionAsker.h"
#include "store/Database.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/GridCommands.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {
const QString kExchangeFilter = QStringLiteral("Pesterly (*.Pesterly)");
}  // namespace

ExchangeCommands::ExchangeCommands(GridCommands& commands, FlexGrid& grid, Database& db,
                                   QuestionAsker& asker, QWidget* window)
    : commands_(commands), grid_(grid), db_(db), asker_(asker), window_(window) {}

void ExchangeCommands::Export() {
    if (commands_.SelectedSlots().empty()) {
        asker_.Tell(
            tr("There is nothing to export: select the events to export first.").toStdString());
        return;
    }
    const QString path =
        QFileDialog::getSaveFileName(window_, tr("Export Events"), QString(), kExchangeFilter);
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}

void ExchangeCommands::ExportTo(const QString& path) {
    const std::vector<int> rows = grid_.SelectedRows();
    std::vector<Happening> records;
    for (const int slot : commands_.SelectedSlots()) {
        records.push_back(db_.Happenings[slot]);
    }
    if (!rows.empty()) {
        grid_.SetRowCol(rows.back(), kColSlot);
    }
    if (const Result<void> written = WriteWholeFile(path, WriteExchangeFile(records)); !written) {
        asker_.Tell(Shown(written.error()).toStdString());
    }
}

void ExchangeCommands::Import() {
    // Export writes the name as typed, so a file may well have been saved without the extension.
    const QString path =
        QFileDialog::getOpenFileName(window_, tr("Import Events"), QString(),
                                     kExchangeFilter + QStringLiteral(";;") + tr("All files (*)"));
    if (!path.isEmpty()) {
        ReadFile(path);
    }
}

void ExchangeCommands::ReadFile(const QString& infile) {
    const Result<std::string> bytes = ReadWholeFile(infile);
    if (!bytes) {
        asker_.Tell(Shown(bytes.error()).toStdString());
        return;
    }
    const ParsedExchangeFile parsed = ParseExchangeFile(*bytes);
    if (!parsed) {
        asker_.Tell(tr("Pesterly imported nothing from %1, because the file is damaged:\n%2")
                        .arg(infile, Shown(parsed.error()))
                        .toStdString());
        return;
    }
    const ExchangeContents& contents = *parsed;
    const ImportSummary summary = ImportHappenings(db_, contents.events);
    for (const int slot : summary.appended_slots) {
        grid_.SetRows(grid_.Rows() + 1);
        commands_.FillRow(grid_.Rows() - 2, slot);
    }
    QStringList notes;
    if (contents.ignored_from_line > 0) {
        const QString line = QString::number(contents.ignored_from_line);
        notes << (contents.events.size() == 1
                      ? tr("The first line of %1 announces 1 event, and Pesterly read those. The "
                           "rest of the file, from line %2 on, was ignored.")
                            .arg(infile, line)
                      : tr("The first line of %1 announces %2 events, and Pesterly read those. The "
                           "rest of the file, from line %3 on, was ignored.")
                            .arg(infile, QString::number(contents.events.size()), line));
    }
    if (summary.left_out == 1) {
        notes << tr(
            "The event table is full (101 events), so 1 new event from the file was left "
            "out.");
    } else if (summary.left_out > 1) {
        notes << tr("The event table is full (101 events), so %1 new events from the file were "
                    "left out.")
                     .arg(summary.left_out);
    }
    if (!notes.empty()) {
        asker_.Tell(notes.join(QStringLiteral("\n\n")).toStdString());
    }
}

}  // namespace pesterly
