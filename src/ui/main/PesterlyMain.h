#pragma once

#include <QMainWindow>
#include <QStringList>

class QAction;
class QMenu;
class QPushButton;
class QTimer;

namespace pesterly {

class Clock;
class FlexGrid;
class QuestionAsker;
class SettingsStore;
struct Database;

// What the main window works with; all of it outlives the window.
struct MainServices {
    Database& db;
    SettingsStore& store;
    Clock& clock;
    QuestionAsker& asker;
};

// The main window: the event grid, its commands and menus, and the two timers.
class PesterlyMain : public QMainWindow {
    Q_OBJECT

  public:
    // Runs the start-up sequence: the command-line message, the stored tables, the grid and
    // the review date and time. `arguments` are the user's, without the program name.
    PesterlyMain(const MainServices& services, const QStringList& arguments,
                 QWidget* parent = nullptr);

    // Writes event slot hapnum into grid data row rownum, that is grid row rownum + 1.
    void FillRow(int rownum, int hapnum);

    FlexGrid* FGrid = nullptr;
    QPushButton* AddNewButton = nullptr;
    QPushButton* HideButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* Command1 = nullptr;
    QTimer* SlowTimer = nullptr;
    QTimer* StartupTimer = nullptr;

    QMenu* FileMenu = nullptr;
    QAction* MenuExport = nullptr;
    QAction* MenuImport = nullptr;
    QAction* FileExit = nullptr;
    QMenu* OptionsMenu = nullptr;
    QAction* FileOptions = nullptr;
    QAction* FileMAPI = nullptr;
    QMenu* HelpMenu = nullptr;
    QAction* AboutPesterly = nullptr;
    QAction* StartHelp = nullptr;

  signals:
    // The window has unloaded after saving; the program ends.
    void Unloaded();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void CreateMenus();
    void WireHandlers();
    void CentreOnScreen();

    void PesterlyMain_Form_Load(const QStringList& arguments);
    bool PesterlyMain_Form_Unload();
    void PesterlyMain_FileExit_Click();

    MainServices services_;
};

}  // namespace pesterly
