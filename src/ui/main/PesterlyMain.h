#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QMenu;
class QPushButton;
class QTimer;

namespace pesterly {

class CalendarCommands;
class AutostartEntry;
class ChangeSaver;
class Clock;
class DesktopNotifier;
class Ending;
class ExchangeCommands;
class FlexGrid;
class GridCommands;
class MailServerForm;
class NagMailer;
class Outbox;
class QuestionAsker;
class NagList;
class OptionsForm;
class SettingsStore;
class ReviewSchedule;
class TrayIcon;
class WakeUpSource;
enum class TrayMouse;
struct Database;

// What the main window works with; all of it outlives the window.
struct MainServices {
    Database& db;
    SettingsStore& store;
    Clock& clock;
    QuestionAsker& asker;
    NagMailer& mailer;
    TrayIcon& tray;
    WakeUpSource& wakeup;
    // Where nag mail that could not go out waits; none in tests that do not need it.
    Outbox* outbox = nullptr;
    // Calls the user to a review that starts while the window is out of sight.
    DesktopNotifier* notifier = nullptr;
    // The entry that starts Pesterly at login; none in tests that do not need it.
    const AutostartEntry* autostart = nullptr;
};

// The main window: its controls and menus, each handler handing the work to the class with
// that job (the grid commands, the exchange commands, the review schedule, the ending).
class PesterlyMain : public QMainWindow {
    Q_OBJECT

  public:
    // Runs the start-up sequence: the command-line message, the stored tables, the grid and
    // the review date and time. `arguments` are the user's, without the program name.
    PesterlyMain(const MainServices& services, const QStringList& arguments,
                 QWidget* parent = nullptr);
    ~PesterlyMain() override;

    // Writes event slot hapnum into grid data row rownum, that is grid row rownum + 1.
    void FillRow(int rownum, int hapnum);
    // Asks about every due event, then shows the table again in slot order.
    void ReviewDueHappenings();
    // Sets the schedule to wake for its next look at the clock.
    void ArmSlowTimer();
    // Ends the program in an orderly way when the desktop asks (a signal, the session
    // ending): saves, removes the icon and unloads, asking nothing.
    void EndOnRequest();
    // Saves the table now, as the session manager asks before the desktop session ends.
    void SaveNow();
    // True when the last save that nobody could be asked about failed, and no rescue copy could
    // be kept either: the session's changes are lost.
    bool SessionLost() const;
    // Writes the events of the selected grid rows, top to bottom, to an exchange file.
    void ExportTo(const QString& path);
    // Appends the new events of an exchange file to the table and the grid. A damaged file
    // adds nothing and the user is told which line is wrong.
    void ReadFile(const QString& infile);
    // Makes the window visible and gives it the focus.
    void PesterlyMain_ShowPesterly_Click();
    // Instead of showing the window at start: it waits in the notification area, or is shown
    // after `wait_ms` if no notification area has come by then.
    void StartHidden(int wait_ms);
    // Saves every change to the table and the options within a second; its Settled signal is
    // the place to hook anything else that must follow the table.
    ChangeSaver& Saver() { return *saver_; }

    FlexGrid* FGrid = nullptr;
    QPushButton* AddNewButton = nullptr;
    QPushButton* HideButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* StartupTimer = nullptr;

    QMenu* FileMenu = nullptr;
    QAction* MenuExport = nullptr;
    QAction* MenuImport = nullptr;
    QAction* MenuExportCalendar = nullptr;
    QAction* MenuImportCalendar = nullptr;
    QAction* MenuCalendarFile = nullptr;
    QAction* FileExit = nullptr;
    QMenu* OptionsMenu = nullptr;
    QAction* FileOptions = nullptr;
    QAction* FileMAPI = nullptr;
    QAction* MailServer = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* AboutPesterly = nullptr;
    QAction* StartHelp = nullptr;
    QMenu* TrayMenu = nullptr;
    QAction* ShowPesterly = nullptr;
    QAction* TrayExit = nullptr;

  Q_SIGNALS:
    // The window has unloaded after saving; the program ends.
    void Unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void CreateControls();
    void SizeColumns();
    int TwipsToPixels(int twips) const;
    void CreateMenus();
    void WireHandlers();
    void CentreOnScreen();

    void PesterlyMain_Form_Load(const QStringList& arguments);
    // Saves, then removes the icon; false when the save failed (the user has been told).
    bool PesterlyMain_Form_Unload();
    void PesterlyMain_FileExit_Click();
    void PesterlyMain_StartupTimer_Timer();
    void PesterlyMain_Form_MouseMove(TrayMouse mouse);
    void PesterlyMain_HideButton_Click();
    void PesterlyMain_TrayExit_Click();
    // "Hide" would strand the window where no notification area can bring it back.
    void UpdateHideButton();
    // The icon's menu offers its items only while the window is hidden, also where the panel
    // draws the menu itself.
    void UpdateTrayMenu();
    void PesterlyMain_AddNewButton_Click();
    void PesterlyMain_DeleteButton_Click();
    void PesterlyMain_FGrid_Click(int mouse_col);
    void PesterlyMain_FGrid_DblClick();
    void PesterlyMain_FileOptions_Click();
    void PesterlyMain_FileMAPI_Click();
    void PesterlyMain_MailServer_Click();
    void PesterlyMain_MenuExport_Click();
    void PesterlyMain_MenuImport_Click();
    void PesterlyMain_MenuExportCalendar_Click();
    void PesterlyMain_MenuImportCalendar_Click();
    void PesterlyMain_MenuCalendarFile_Click();
    void PesterlyMain_AboutPesterly_Click();
    void PesterlyMain_StartHelp_Click();
    // Runs when the schedule's wake-up comes.
    void PesterlyMain_SlowTimer_Timer();
    void PesterlyMain_Command1_Click();

    MainServices services_;
    std::unique_ptr<GridCommands> grid_commands_;
    std::unique_ptr<ExchangeCommands> exchange_;
    std::unique_ptr<CalendarCommands> calendar_;
    std::unique_ptr<ReviewSchedule> schedule_;
    std::unique_ptr<Ending> ending_;
    std::unique_ptr<ChangeSaver> saver_;
    // Dialogs are made on first use and kept.
    OptionsForm* options_form_ = nullptr;
    NagList* nag_list_ = nullptr;
    MailServerForm* mail_server_ = nullptr;
};

}  // namespace pesterly
