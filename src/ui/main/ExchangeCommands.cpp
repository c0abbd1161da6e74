#include "ui/main/ExchangeCommands.h"

#include <QFileDialog>
#include <algorithm>

#include "exchange/ExchangeFile.h"
#include "exchange/ImportHappenings.h"
#include "platform/WholeFile.h"
#include "reminder/QuestionAsker.h"
#include "store/Database.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/GridCommands.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {
const QString kExchangeFilter = QStringLiteral("Pesterly (*.Pesterly)");
}

ExchangeCommands::ExchangeCommands(GridCommands& commands, FlexGrid& grid, Database& db,
                                   QuestionAsker& asker, QWidget* window)
    : commands_(commands), grid_(grid), db_(db), asker_(asker), window_(window) {}

void ExchangeCommands::Export() {
    if (grid_.Row() == 0) {
        asker_.Tell("There is nothing to export: select the events to export first.");
        return;
    }
    const QString path = QFileDialog::getSaveFileName(window_, QStringLiteral("Export Events"),
                                                      QString(), kExchangeFilter);
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}

void ExchangeCommands::ExportTo(const QString& path) {
    const int first = std::min(grid_.Row(), grid_.RowSel());
    const int last = std::max(grid_.Row(), grid_.RowSel());
    std::vector<Happening> records;
    for (int row = std::max(first, 1); row <= last; ++row) {
        if (const int slot = commands_.SlotOfRow(row); slot >= 0) {
            records.push_back(db_.Happenings[slot]);
        }
    }
    grid_.SetRowCol(last, kColSlot);
    if (const MaybeError error = WriteWholeFile(path, WriteExchangeFile(records))) {
        asker_.Tell(error->message);
    }
}

void ExchangeCommands::Import() {
    const QString path = QFileDialog::getOpenFileName(window_, QStringLiteral("Import Events"),
                                                      QString(), kExchangeFilter);
    if (!path.isEmpty()) {
        ReadFile(path);
    }
}

void ExchangeCommands::ReadFile(const QString& infile) {
    const auto bytes = ReadWholeFile(infile);
    if (const auto* error = std::get_if<Error>(&bytes)) {
        asker_.Tell(error->message);
        return;
    }
    const ParsedExchangeFile parsed = ParseExchangeFile(std::get<std::string>(bytes));
    if (const auto* error = std::get_if<Error>(&parsed)) {
        asker_.Tell("Pesterly imported nothing from " + infile.toStdString() +
                    ", because the file is damaged:\n" + error->message);
        return;
    }
    const ImportSummary summary = ImportHappenings(db_, std::get<std::vector<Happening>>(parsed));
    for (const int slot : summary.appended_slots) {
        grid_.SetRows(grid_.Rows() + 1);
        commands_.FillRow(grid_.Rows() - 2, slot);
    }
    if (summary.left_out > 0) {
        asker_.Tell("The event table is full (101 events), so " + std::to_string(summary.left_out) +
                    " new events from the file were left out.");
    }
}

}  // namespace pesterly
