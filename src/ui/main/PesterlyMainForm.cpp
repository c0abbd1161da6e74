#include "ui/main/PesterlyMain.h"

#include <QAction>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <algorithm>

#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

// The main window's controls and menus, laid out as designed, and their handlers wired.
namespace pesterly {
namespace {

// Design sizes in twips (1440 to the inch).
constexpr int kClientWidth = 10095;
constexpr int kClientHeight = 4530;
constexpr int kColumnWidths[kGridColumns] = {800, 500, 800, 1400, 1400, 0, 500};

}  // namespace

void PesterlyMain::CreateControls() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    FGrid = new FlexGrid(kGridColumns, client);
    FGrid->setObjectName(QStringLiteral("FGrid"));
    AddNewButton = new QPushButton(tr("Add New Event"), client);
    AddNewButton->setObjectName(QStringLiteral("AddNewButton"));
    HideButton = new QPushButton(tr("Hide"), client);
    HideButton->setObjectName(QStringLiteral("HideButton"));
    DeleteButton = new QPushButton(tr("Delete Event"), client);
    DeleteButton->setObjectName(QStringLiteral("DeleteButton"));
    Command1 = new QPushButton(tr("Test"), client);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setVisible(false);

    FGrid->setAccessibleName(tr("Events"));
    FGrid->setAccessibleDescription(
        tr("Enter opens the event in the editor; the Delete key deletes it"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AddNewButton);
    buttons->addWidget(DeleteButton);
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(HideButton);
    auto* form = new QVBoxLayout(client);
    form->addWidget(FGrid, 1);
    form->addLayout(buttons);

    setTabOrder(FGrid, AddNewButton);
    setTabOrder(AddNewButton, HideButton);
    setTabOrder(HideButton, DeleteButton);
    StartupTimer = new QTimer(this);
    StartupTimer->setObjectName(QStringLiteral("StartupTimer"));
    StartupTimer->setSingleShot(true);
    StartupTimer->setInterval(500);
}

int PesterlyMain::TwipsToPixels(int twips) const {
    return twips * logicalDpiX() / 1440;
}

void PesterlyMain::SizeColumns() {
    // Columns keep their design widths, widened where a header or a text the program itself
    // writes would not fit; the description column takes what is left, also when the window
    // grows or shrinks, so that the grid never needs to scroll sideways.
    const QLocale locale;
    QStringList widest[kGridColumns];
    widest[kColEmailList] = {YesNoText(true), YesNoText(false)};
    for (int repeat = kRepeatOneTime; repeat <= kRepeatDaily; ++repeat) {
        widest[kColRepeat] << RepeatText(repeat);
    }
    for (int month = 1; month <= 12; ++month) {  // every month name, with a day of two digits
        const DateValue date = DateValue::Compose(2000, month, 28);
        widest[kColDate] << DateText(kRepeatOneTime, date, locale)
                         << DateText(kRepeatYearly, date, locale);
    }
    for (int day = 1; day <= 7; ++day) {  // every weekday name
        widest[kColDate] << DateText(kRepeatWeekly, DateValue::Compose(2000, 1, day), locale);
    }
    widest[kColDate] << DateText(kRepeatMonthly, DateValue::Compose(2000, 1, 23), locale);
    widest[kColSlot] = {QStringLiteral(" 100")};
    const QFontMetrics cells = FGrid->fontMetrics();
    const QFontMetrics headers = FGrid->horizontalHeader()->fontMetrics();
    const int padding = 2 * cells.averageCharWidth() + 4;
    int used = 0;
    for (int col = 0; col < kGridColumns; ++col) {
        if (col == kColToBeDone) {
            continue;
        }
        int width = std::max(TwipsToPixels(kColumnWidths[col]),
                             headers.horizontalAdvance(FGrid->CellText(0, col)) + padding);
        for (const QString& text : widest[col]) {
            width = std::max(width, cells.horizontalAdvance(text) + padding);
        }
        FGrid->SetColWidth(col, width);
        used += width;
    }
    FGrid->horizontalHeader()->setSectionResizeMode(kColToBeDone, QHeaderView::Stretch);
    FGrid->setMinimumWidth(used + TwipsToPixels(1000) + 2 * FGrid->frameWidth() +
                           FGrid->verticalScrollBar()->sizeHint().width());
}

void PesterlyMain::CreateMenus() {
    auto add_action = [this](QMenu* menu, const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    FileMenu = menuBar()->addMenu(tr("&File"));
    FileMenu->setObjectName(QStringLiteral("FileMenu"));
    MenuExport = add_action(FileMenu, "MenuExport", tr("&Export Events"));
    MenuImport = add_action(FileMenu, "MenuImport", tr("&Import Events"));
    MenuExportCalendar = add_action(FileMenu, "MenuExportCalendar", tr("Export to &Calendar..."));
    MenuImportCalendar = add_action(FileMenu, "MenuImportCalendar", tr("Import from Ca&lendar..."));
    MenuCalendarFile = add_action(FileMenu, "MenuCalendarFile", tr("&Keep Calendar File..."));
    MenuCalendarFile->setCheckable(true);
    FileMenu->addSeparator()->setObjectName(QStringLiteral("dash1"));
    FileExit = add_action(FileMenu, "FileExit", tr("E&xit"));
    OptionsMenu = menuBar()->addMenu(tr("&Options"));
    OptionsMenu->setObjectName(QStringLiteral("OptionsMenu"));
    FileOptions = add_action(OptionsMenu, "FileOptions", tr("&Reminder Options"));
    FileMAPI = add_action(OptionsMenu, "FileMAPI", tr("&NagMail Options"));
    MailServer = add_action(OptionsMenu, "MailServer", tr("&Mail Server"));
    HelpMenu = menuBar()->addMenu(tr("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    AboutPesterly = add_action(HelpMenu, "AboutPesterly", tr("&About Pesterly"));
    StartHelp = add_action(HelpMenu, "StartHelp", tr("Pesterly &Help"));
    // The icon's pop-up menu; it is not on the menu bar.
    TrayMenu = new QMenu(tr("Tray"), this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    ShowPesterly = add_action(TrayMenu, "ShowPesterly", tr("Show Pesterly"));
    TrayExit = add_action(TrayMenu, "TrayExit", tr("Exit"));
}

void PesterlyMain::WireHandlers() {
    connect(FileExit, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileExit_Click);
    connect(StartupTimer, &QTimer::timeout, this, &PesterlyMain::PesterlyMain_StartupTimer_Timer);
    connect(HideButton, &QPushButton::clicked, this, &PesterlyMain::PesterlyMain_HideButton_Click);
    connect(ShowPesterly, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_ShowPesterly_Click);
    connect(TrayExit, &QAction::triggered, this, &PesterlyMain::PesterlyMain_TrayExit_Click);
    connect(Command1, &QPushButton::clicked, this, &PesterlyMain::PesterlyMain_Command1_Click);
    connect(AddNewButton, &QPushButton::clicked, this,
            &PesterlyMain::PesterlyMain_AddNewButton_Click);
    connect(DeleteButton, &QPushButton::clicked, this,
            &PesterlyMain::PesterlyMain_DeleteButton_Click);
    connect(FGrid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &PesterlyMain::PesterlyMain_FGrid_Click);
    connect(FGrid, &QTableWidget::cellDoubleClicked, this,
            &PesterlyMain::PesterlyMain_FGrid_DblClick);
    // The keyboard's way to the row commands: Enter opens the row as a double-click does, and
    // the Delete key is the "Delete Event" button.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter),
                                    QKeySequence(QKeySequence::Delete)}) {
        auto* shortcut = new QShortcut(key, FGrid);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                key == QKeySequence(QKeySequence::Delete)
                    ? &PesterlyMain::PesterlyMain_DeleteButton_Click
                    : &PesterlyMain::PesterlyMain_FGrid_DblClick);
    }
    connect(FileOptions, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileOptions_Click);
    connect(FileMAPI, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileMAPI_Click);
    connect(MailServer, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MailServer_Click);
    connect(MenuExport, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MenuExport_Click);
    connect(MenuImport, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MenuImport_Click);
    connect(MenuExportCalendar, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_MenuExportCalendar_Click);
    connect(MenuImportCalendar, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_MenuImportCalendar_Click);
    connect(MenuCalendarFile, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_MenuCalendarFile_Click);
    connect(AboutPesterly, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_AboutPesterly_Click);
    connect(StartHelp, &QAction::triggered, this, &PesterlyMain::PesterlyMain_StartHelp_Click);
}

void PesterlyMain::CentreOnScreen() {
    // The window opens at its design size, or larger where its parts need the room; it may
    // grow, and the grid takes the room.
    resize(std::max(TwipsToPixels(kClientWidth), minimumSizeHint().width()),
           TwipsToPixels(kClientHeight) + menuBar()->sizeHint().height());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

}  // namespace pesterly
