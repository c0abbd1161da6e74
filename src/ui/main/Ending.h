#pragma once

#include <QCoreApplication>
namespace pesterly {

class QuestionAsker;
class SettingsStore;
class TrayIcon;
struct Database;

// The one way the program ends: the table is saved, then the icon goes. The close box, both
// Exit commands, a right double-click on the icon, the desktop's request to end and the session
// manager's request to save all come through here.
class Ending {
    Q_DECLARE_TR_FUNCTIONS(Ending)

  public:
    enum class Asking { kTheUser, kNobody };

    Ending(Database& db, SettingsStore& store, QuestionAsker& asker, TrayIcon& tray);

    // Saves the table. With the user there, a failed save is told and Save is false; with
    // nobody to ask (the desktop is ending the program), the table goes to a rescue copy
    // instead and the save counts as done.
    bool Save(Asking asking);
    // Saves, then removes the icon; false, with nothing else done, when the save failed and
    // the user was told.
    bool SaveAndUnload(Asking asking);
    bool Unloaded() const { return unloaded_; }
    // The last save with nobody to ask failed, and so did the rescue copy.
    bool Lost() const { return lost_; }

  private:
    void SaveOrRescue();
    void TellWhatIsLost() const;

    Database& db_;
    SettingsStore& store_;
    QuestionAsker& asker_;
    TrayIcon& tray_;
    bool unloaded_ = false;
    bool lost_ = false;
};

}  // namespace pesterly
