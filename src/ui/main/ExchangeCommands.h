#pragma once

#include <QCoreApplication>
class QString;
class QWidget;

namespace pesterly {

class FlexGrid;
class GridCommands;
class QuestionAsker;
struct Database;

// Export and import of events through ".Pesterly" exchange files.
class ExchangeCommands {
    Q_DECLARE_TR_FUNCTIONS(ExchangeCommands)

  public:
    // `window` is the parent of the file dialogs.
    ExchangeCommands(GridCommands& commands, FlexGrid& grid, Database& db, QuestionAsker& asker,
                     QWidget* window);

    // Asks where to, then exports the selected rows.
    void Export();
    // Writes the events of the selected grid rows, top to bottom, to an exchange file; the
    // last of those rows is current afterwards, at its slot column.
    void ExportTo(const QString& path);
    // Asks which file, then reads it.
    void Import();
    // Appends the new events of an exchange file to the table and the grid. A damaged file
    // adds nothing and the user is told which line is wrong.
    void ReadFile(const QString& infile);

  private:
    GridCommands& commands_;
    FlexGrid& grid_;
    Database& db_;
    QuestionAsker& asker_;
    QWidget* window_;
};

}  // namespace pesterly
