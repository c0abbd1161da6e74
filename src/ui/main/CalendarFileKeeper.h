#pragma once

#include <QCoreApplication>
#include <QString>
#include <QTimer>

#include "store/Error.h"

namespace pesterly {

class QuestionAsker;
class SettingsStore;
struct Database;

// Keeps the calendar file that the CalendarFile option names current, for calendar programs
// that subscribe to it: the whole table is written there, all at once, soon after start and
// whenever the change saver has settled a burst of changes.
class CalendarFileKeeper {
    Q_DECLARE_TR_FUNCTIONS(CalendarFileKeeper)

  public:
    CalendarFileKeeper(Database& db, SettingsStore& store, QuestionAsker& asker);

    // The file kept current; empty when none is.
    QString Path() const;
    // Keeps the file at path current from now on (none for an empty path) and writes it at
    // once. The option is saved to the settings file; an error when it could not be.
    Result<void> KeepAt(const QString& path);
    // Writes the file shortly, so that the start is not held up by it.
    void WriteSoon();
    // Writes the table to the file now, when one is kept.
    void WriteNow();

  private:
    Database& db_;
    SettingsStore& store_;
    QuestionAsker& asker_;
    QTimer soon_;
    // A file that cannot be written is told about once, not at every change.
    bool failure_told_ = false;
};

}  // namespace pesterly
