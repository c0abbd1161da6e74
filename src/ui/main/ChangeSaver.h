#pragma once

#include <QObject>
#include <QTimer>

namespace pesterly {

class QuestionAsker;
class SettingsStore;
struct Database;

// Brings every change to the table and the options to the settings file while the program
// runs, so that a crash or a forced end a week later loses nothing. The first change starts a
// short single-shot timer; whatever else changes before it runs is saved in the same write.
// Nothing is awake while nothing changes.
class ChangeSaver : public QObject {
    Q_OBJECT

  public:
    // How long after a change it is written: well within a second, long enough for a burst
    // of changes (an import, the answers of a review) to be one write.
    static constexpr int kDelayMs = 250;

    ChangeSaver(Database& db, SettingsStore& store, QuestionAsker& asker,
                QObject* parent = nullptr);

    // Something changed; it is on disk within kDelayMs.
    void NoteChange();
    // The program is ending and saves by itself: nothing more is written from here.
    void Stop();

  Q_SIGNALS:
    // A burst of changes has just been saved (or the save was tried): what keeps a copy of the
    // table elsewhere brings it up to date now.
    void Settled();

  private:
    void SaveNow();

    Database& db_;
    SettingsStore& store_;
    QuestionAsker& asker_;
    QTimer timer_;
    bool stopped_ = false;
    // A failed save is told once; later ones are tried without a message until one succeeds.
    bool failure_told_ = false;
};

}  // namespace pesterly
