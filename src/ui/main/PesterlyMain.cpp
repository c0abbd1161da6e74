#include "ui/main/PesterlyMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "reminder/QuestionAsker.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "ui/Twips.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

// Design sizes in twips.
constexpr int kClientWidth = 10095;
constexpr int kClientHeight = 4530;
constexpr int kGridWidth = 9735;
constexpr int kColumnWidths[kGridColumns] = {800, 500, 800, 1400, 1400, 0, 500};
constexpr int kFixedColumnsWidth = 4825;  // every column but the description's

}  // namespace

PesterlyMain::PesterlyMain(const MainServices& services, const QStringList& arguments,
                           QWidget* parent)
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("PesterlyMain"));
    setWindowTitle(QStringLiteral("Pesterly"));
    CreateControls();
    CreateMenus();
    WireHandlers();
    PesterlyMain_Form_Load(arguments);
    CentreOnScreen();
}

void PesterlyMain::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    FGrid = new FlexGrid(kGridColumns, client);
    FGrid->setObjectName(QStringLiteral("FGrid"));
    AddNewButton = new QPushButton(QStringLiteral("Add New Event"), client);
    AddNewButton->setObjectName(QStringLiteral("AddNewButton"));
    HideButton = new QPushButton(QStringLiteral("Hide"), client);
    HideButton->setObjectName(QStringLiteral("HideButton"));
    DeleteButton = new QPushButton(QStringLiteral("Delete Event"), client);
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    Command1 = new QPushButton(QStringLiteral("Test"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setVisible(false);

    TwipsLayout layout;
    layout.Place(FGrid, 0, 120, kGridWidth, 3735);
    layout.Place(AddNewButton, 120, 3960, 1335, 375);
    layout.Place(HideButton, 8760, 3960, 975, 375);
    layout.Place(DeleteButton, 1560, 3960, 1335, 375);
    layout.Place(Command1, 7080, 4080, 1335, 375);
    layout.Finish(client, kClientWidth, kClientHeight);
    for (int col = 0; col < kGridColumns; ++col) {
        FGrid->SetColWidth(col, layout.ToPixels(kColumnWidths[col]));
    }
    FGrid->SetColWidth(kColToBeDone, FGrid->width() - layout.ToPixels(kFixedColumnsWidth));

    setTabOrder(FGrid, AddNewButton);
    setTabOrder(AddNewButton, HideButton);
    setTabOrder(HideButton, DeleteButton);

    SlowTimer = new QTimer(this);
    SlowTimer->setObjectName(QStringLiteral("SlowTimer"));
    StartupTimer = new QTimer(this);
    StartupTimer->setObjectName(QStringLiteral("StartupTimer"));
}

void PesterlyMain::CreateMenus() {
    auto add_action = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    FileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    MenuExport = add_action(FileMenu, "MenuExport", QStringLiteral("&Export Events"));
    MenuImport = add_action(FileMenu, "MenuImport", QStringLiteral("&Import Events"));
    FileMenu->addSeparator()->setObjectName(QStringLiteral("dash1"));
    FileExit = add_action(FileMenu, "FileExit", QStringLiteral("E&xit"));
    OptionsMenu = menuBar()->addMenu(QStringLiteral("&Options"));
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    FileOptions = add_action(OptionsMenu, "FileOptions", QStringLiteral("&Reminder Options"));
    FileMAPI = add_action(OptionsMenu, "FileMAPI", QStringLiteral("&NagMail Options"));
    HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    AboutPesterly = add_action(HelpMenu, "AboutPesterly", QStringLiteral("&About Pesterly"));
    StartHelp = add_action(HelpMenu, "StartHelp", QStringLiteral("Pesterly &Help"));
}

void PesterlyMain::WireHandlers() {
    connect(FileExit, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileExit_Click);
}

void PesterlyMain::CentreOnScreen() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void PesterlyMain::PesterlyMain_Form_Load(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        services_.asker.Tell(arguments.join(QLatin1Char(' ')).toStdString());
    }
    Database& db = services_.db;
    LoadSettings(db, services_.store);
    FGrid->SetRows(db.HappeningCount + 1);
    for (int r = 0; r < db.HappeningCount; ++r) {
        FillRow(r, r);
    }
    static const char* const kHeaders[] = {"Category", "Email List?",   "Repeat",
                                           "Date",     "Special Email", "To Be Done"};
    for (int col = 0; col < kColSlot; ++col) {
        FGrid->SetCellText(0, col, QString::fromLatin1(kHeaders[col]));
    }
    LoadOptions(db, services_.store, services_.clock.Today());
}

void PesterlyMain::FillRow(int rownum, int hapnum) {
    const RowTexts texts = FormatRow(services_.db, hapnum, QLocale());
    for (int col = 0; col < kGridColumns; ++col) {
        if (texts[col].has_value()) {
            FGrid->SetCellText(rownum + 1, col, *texts[col]);
        }
    }
}

void PesterlyMain::closeEvent(QCloseEvent* event) {
    if (PesterlyMain_Form_Unload()) {
        event->accept();
        emit Unloaded();
    } else {
        event->ignore();
    }
}

bool PesterlyMain::PesterlyMain_Form_Unload() {
    if (const MaybeError error = SaveSettings(services_.db, services_.store)) {
        services_.asker.Tell(error->message +
                             "\n\nYour events are still here. Pesterly stays open so that "
                             "nothing is lost; close it again once the problem is solved.");
        return false;
    }
    return true;
}

void PesterlyMain::PesterlyMain_FileExit_Click() {
    close();
}

}  // namespace pesterly
