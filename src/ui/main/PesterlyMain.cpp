#include "ui/main/PesterlyMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "exchange/ExchangeFile.h"
#include "exchange/ImportHappenings.h"
#include "platform/TrayIcon.h"
#include "platform/WholeFile.h"
#include "reminder/QuestionAsker.h"
#include "reminder/Review.h"
#include "reminder/Schedule.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "store/TextForms.h"
#include "ui/Twips.h"
#include "ui/dialogs/AboutPesterlyForm.h"
#include "ui/dialogs/EditHappening.h"
#include "ui/dialogs/MailServerForm.h"
#include "ui/dialogs/NagList.h"
#include "ui/dialogs/OptionsForm.h"
#include "ui/help/HelpWindow.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/RowFormat.h"

namespace pesterly {
namespace {

// Design sizes in twips.
constexpr int kClientWidth = 10095;
constexpr int kClientHeight = 4530;
constexpr int kGridWidth = 9735;
constexpr int kColumnWidths[kGridColumns] = {800, 500, 800, 1400, 1400, 0, 500};

// The command line as the user typed it: an argument holding a blank was quoted.
QString CommandLineText(const QStringList& arguments) {
    QStringList words;
    for (const QString& argument : arguments) {
        const bool quote = argument.isEmpty() || std::any_of(argument.begin(), argument.end(),
                                                             [](QChar c) { return c.isSpace(); });
        words << (quote ? QLatin1Char('"') + argument + QLatin1Char('"') : argument);
    }
    return words.join(QLatin1Char(' '));
}

}  // namespace

PesterlyMain::PesterlyMain(const MainServices& services, const QStringList& arguments,
                           QWidget* parent)
    : QMainWindow(parent), services_(services), layout_(std::make_unique<TwipsLayout>()) {
    setObjectName(QStringLiteral("PesterlyMain"));
    setWindowTitle(QStringLiteral("Pesterly"));
    CreateControls();
    CreateMenus();
    WireHandlers();
    PesterlyMain_Form_Load(arguments);
    CentreOnScreen();
}

PesterlyMain::~PesterlyMain() = default;

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

    TwipsLayout& layout = *layout_;
    layout.Place(FGrid, 0, 120, kGridWidth, 3735);
    layout.Place(AddNewButton, 120, 3960, 1335, 375);
    layout.Place(HideButton, 8760, 3960, 975, 375);
    layout.Place(DeleteButton, 1560, 3960, 1335, 375);
    layout.Place(Command1, 7080, 4080, 1335, 375);
    layout.Finish(client, kClientWidth, kClientHeight);

    setTabOrder(FGrid, AddNewButton);
    setTabOrder(AddNewButton, HideButton);
    setTabOrder(HideButton, DeleteButton);

    SlowTimer = new QTimer(this);
    SlowTimer->setObjectName(QStringLiteral("SlowTimer"));
    SlowTimer->setTimerType(Qt::PreciseTimer);
    StartupTimer = new QTimer(this);
    StartupTimer->setObjectName(QStringLiteral("StartupTimer"));
    StartupTimer->setSingleShot(true);
    StartupTimer->setInterval(500);
}

void PesterlyMain::SizeColumns(const TwipsLayout& layout) {
    // Columns keep their design widths, widened where a header or a text the program itself
    // writes would not fit; the description column takes what is left, so that the grid
    // never needs to scroll sideways.
    const QLocale locale;
    QStringList widest[kGridColumns];
    widest[kColEmailList] = {QStringLiteral("Yes"), QStringLiteral("No")};
    widest[kColRepeat] = {QStringLiteral("One Time "), QStringLiteral("Yearly"),
                          QStringLiteral("Monthly"), QStringLiteral("Weekly"),
                          QStringLiteral("Daily")};
    widest[kColDate] = {QStringLiteral("on the 23rd")};
    for (int day = 1; day <= 7; ++day) {
        widest[kColDate] << locale.dayName(day);
    }
    for (int month = 1; month <= 12; ++month) {
        widest[kColDate] << locale.monthName(month, QLocale::ShortFormat) + " 28,2000";
    }
    widest[kColSlot] = {QStringLiteral(" 100")};
    const QFontMetrics cells = FGrid->fontMetrics();
    const QFontMetrics headers = FGrid->horizontalHeader()->fontMetrics();
    const int padding = 2 * cells.averageCharWidth() + 4;
    int used = 0;
    for (int col = 0; col < kGridColumns; ++col) {
        if (col == kColToBeDone) {
            continue;
        }
        int width = std::max(layout.ToPixels(kColumnWidths[col]),
                             headers.horizontalAdvance(FGrid->CellText(0, col)) + padding);
        for (const QString& text : widest[col]) {
            width = std::max(width, cells.horizontalAdvance(text) + padding);
        }
        FGrid->SetColWidth(col, width);
        used += width;
    }
    const int room =
        FGrid->width() - 2 * FGrid->frameWidth() - FGrid->verticalScrollBar()->sizeHint().width();
    FGrid->SetColWidth(kColToBeDone, std::max(room - used, layout.ToPixels(1000)));
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
    MailServer = add_action(OptionsMenu, "MailServer", QStringLiteral("&Mail Server"));
    HelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    HelpMenu->setObjectName(QStringLiteral("HelpMenu"));
    AboutPesterly = add_action(HelpMenu, "AboutPesterly", QStringLiteral("&About Pesterly"));
    StartHelp = add_action(HelpMenu, "StartHelp", QStringLiteral("Pesterly &Help"));
    // The icon's pop-up menu; it is not on the menu bar.
    TrayMenu = new QMenu(QStringLiteral("Tray"), this);
    TrayMenu->setObjectName(QStringLiteral("TrayMenu"));
    ShowPesterly = add_action(TrayMenu, "ShowPesterly", QStringLiteral("Show Pesterly"));
    TrayExit = add_action(TrayMenu, "TrayExit", QStringLiteral("Exit"));
}

void PesterlyMain::WireHandlers() {
    connect(FileExit, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileExit_Click);
    connect(SlowTimer, &QTimer::timeout, this, &PesterlyMain::PesterlyMain_SlowTimer_Timer);
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
    connect(FileOptions, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileOptions_Click);
    connect(FileMAPI, &QAction::triggered, this, &PesterlyMain::PesterlyMain_FileMAPI_Click);
    connect(MailServer, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MailServer_Click);
    connect(MenuExport, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MenuExport_Click);
    connect(MenuImport, &QAction::triggered, this, &PesterlyMain::PesterlyMain_MenuImport_Click);
    connect(AboutPesterly, &QAction::triggered, this,
            &PesterlyMain::PesterlyMain_AboutPesterly_Click);
    connect(StartHelp, &QAction::triggered, this, &PesterlyMain::PesterlyMain_StartHelp_Click);
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
        services_.asker.Tell(CommandLineText(arguments).toStdString());
    }
    Database& db = services_.db;
    LoadSettings(db, services_.store);
    FGrid->SetRows(db.HappeningCount + 1);
    for (int r = 0; r < db.HappeningCount; ++r) {
        FillRow(r, r);
    }
    static const char* const kHeaders[] = {"Category", "Email List?",   "Repeat",
                                           "Date",     "Special Email", "To Be Done"};
    FGrid->SetRowCol(0, kColToBeDone);  // no event row is current until the user picks one
    for (int col = 0; col < kColSlot; ++col) {
        FGrid->SetCellText(0, col, QString::fromLatin1(kHeaders[col]));
    }
    SizeColumns(*layout_);
    LoadOptions(db, services_.store, services_.clock.Today());
    ArmSlowTimer();
    StartupTimer->start();
}

void PesterlyMain::FillRow(int rownum, int hapnum) {
    const RowTexts texts = FormatRow(services_.db, hapnum, QLocale());
    for (int col = 0; col < kGridColumns; ++col) {
        if (texts[col].has_value()) {
            FGrid->SetCellText(rownum + 1, col, *texts[col]);
        }
    }
    // The filled row becomes the current one, at the last cell written.
    FGrid->SetRowCol(rownum + 1, texts[kColDate].has_value() ? kColDate : kColRepeat);
}

void PesterlyMain::ReviewDueHappenings() {
    pesterly::ReviewDueHappenings(services_.db, services_.asker, services_.mailer, services_.clock);
    RefillGrid();
}

void PesterlyMain::RefillGrid() {
    const int count = services_.db.HappeningCount;
    FGrid->SetRows(count + 1);
    for (int j = 0; j < count; ++j) {
        FillRow(j, j);
    }
}

void PesterlyMain::ArmSlowTimer() {
    const Database& db = services_.db;
    int64_t wait = MillisecondsToNextCheck(db.CheckDate, db.CheckTime, services_.clock.Now());
    if (wait == 0) {
        wait = 1000;  // due already: one tick from now
    }
    // An idle tick leaves a running timer as it is, so a quiet day costs one wakeup a minute
    // and nothing else.
    if (!SlowTimer->isActive() || SlowTimer->interval() != wait) {
        SlowTimer->start(static_cast<int>(wait));
    }
}

void PesterlyMain::PesterlyMain_SlowTimer_Timer() {
    Database& db = services_.db;
    if (ReviewIsDue(db.CheckDate, db.CheckTime, services_.clock.Now())) {
        if (QApplication::activeModalWidget() != nullptr) {
            // A dialog may be working on the table: look again once it has closed.
            SlowTimer->start(1000);
            return;
        }
        // Off for the whole review: its questions keep the event loop, and so the timer, going.
        SlowTimer->stop();
        ReviewDueHappenings();
        db.CheckDate = services_.clock.Today();
    }
    ArmSlowTimer();
}

void PesterlyMain::PesterlyMain_Command1_Click() {
    ReviewDueHappenings();
}

int PesterlyMain::SlotOfRow(int row) const {
    if (row < 1 || row >= FGrid->Rows()) {
        return -1;
    }
    const int slot = forms::LeadingNumber(FGrid->CellText(row, kColSlot).toStdString());
    return slot < services_.db.HappeningCount ? slot : -1;
}

void PesterlyMain::PesterlyMain_AddNewButton_Click() {
    Database& db = services_.db;
    if (db.IsFull()) {
        services_.asker.Tell(
            "Pesterly keeps at most 101 events, and the table is full.\n\n"
            "Delete an event you no longer need before adding a new one.");
        return;
    }
    const DateValue today = services_.clock.Today();
    Happening event;  // a fresh record, not whatever a freed slot still holds
    event.EventDate = today;
    event.Repeat = kRepeatOneTime;
    event.Desc = "?";
    event.DoneDate = today.AddDays(-370);
    const int slot = db.HappeningCount;
    FGrid->SetRows(FGrid->Rows() + 1);
    db.AppendHappening(event);
    FillRow(slot, slot);
    PesterlyMain_FGrid_DblClick();
}

void PesterlyMain::PesterlyMain_FGrid_DblClick() {
    const int row = FGrid->Row();
    const int slot = SlotOfRow(row);
    if (slot < 0) {
        return;
    }
    Database& db = services_.db;
    db.EditBuffer = db.Happenings[slot];
    if (edit_happening_ == nullptr) {
        edit_happening_ = new EditHappening(db, this);
    }
    edit_happening_->exec();
    if (!db.EditCancelled) {
        db.Happenings[slot] = db.EditBuffer;
        FillRow(row - 1, slot);
    }
}

void PesterlyMain::PesterlyMain_DeleteButton_Click() {
    const int row = FGrid->Row();
    if (row == 0) {
        return;
    }
    if (row != FGrid->RowSel()) {
        services_.asker.Tell("I was too lazy to implement multiple event deletes");
        return;
    }
    const int slot = SlotOfRow(row);
    if (slot < 0) {
        return;
    }
    services_.db.RemoveHappening(slot);
    RefillGrid();
}

void PesterlyMain::PesterlyMain_FGrid_Click(int mouse_col) {
    // Only header clicks reach here: they sort the event rows by that column.
    FGrid->SortGeneric(mouse_col);
}

void PesterlyMain::PesterlyMain_FileOptions_Click() {
    if (options_form_ == nullptr) {
        options_form_ = new OptionsForm(services_.db, this);
    }
    options_form_->exec();
    ArmSlowTimer();  // a new review time applies from the next tick
}

void PesterlyMain::PesterlyMain_FileMAPI_Click() {
    if (nag_list_ == nullptr) {
        nag_list_ = new NagList(services_.store, services_.asker, this);
    }
    nag_list_->exec();
}

void PesterlyMain::PesterlyMain_MailServer_Click() {
    if (mail_server_ == nullptr) {
        mail_server_ = new MailServerForm(services_.store, services_.asker, this);
    }
    mail_server_->exec();
}

namespace {
const QString kExchangeFilter = QStringLiteral("Pesterly (*.Pesterly)");
}

void PesterlyMain::PesterlyMain_MenuExport_Click() {
    if (FGrid->Row() == 0) {
        services_.asker.Tell("There is nothing to export: select the events to export first.");
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Events"),
                                                      QString(), kExchangeFilter);
    if (!path.isEmpty()) {
        ExportTo(path);
    }
}

void PesterlyMain::ExportTo(const QString& path) {
    const int first = std::min(FGrid->Row(), FGrid->RowSel());
    const int last = std::max(FGrid->Row(), FGrid->RowSel());
    std::vector<Happening> records;
    for (int row = std::max(first, 1); row <= last; ++row) {
        if (const int slot = SlotOfRow(row); slot >= 0) {
            records.push_back(services_.db.Happenings[slot]);
        }
    }
    FGrid->SetRowCol(last, kColSlot);
    if (const MaybeError error = WriteWholeFile(path, WriteExchangeFile(records))) {
        services_.asker.Tell(error->message);
    }
}

void PesterlyMain::PesterlyMain_MenuImport_Click() {
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Import Events"),
                                                      QString(), kExchangeFilter);
    if (!path.isEmpty()) {
        ReadFile(path);
    }
}

void PesterlyMain::ReadFile(const QString& infile) {
    const auto bytes = ReadWholeFile(infile);
    if (const auto* error = std::get_if<Error>(&bytes)) {
        services_.asker.Tell(error->message);
        return;
    }
    const ParsedExchangeFile parsed = ParseExchangeFile(std::get<std::string>(bytes));
    if (const auto* error = std::get_if<Error>(&parsed)) {
        services_.asker.Tell("Pesterly imported nothing from " + infile.toStdString() +
                             ", because the file is damaged:\n" + error->message);
        return;
    }
    const ImportSummary summary =
        ImportHappenings(services_.db, std::get<std::vector<Happening>>(parsed));
    for (const int slot : summary.appended_slots) {
        FGrid->SetRows(FGrid->Rows() + 1);
        FillRow(FGrid->Rows() - 2, slot);
    }
    if (summary.left_out > 0) {
        services_.asker.Tell("The event table is full (101 events), so " +
                             std::to_string(summary.left_out) +
                             " new events from the file were left out.");
    }
}

void PesterlyMain::PesterlyMain_AboutPesterly_Click() {
    AboutPesterlyForm about(this);
    about.exec();
}

void PesterlyMain::PesterlyMain_StartHelp_Click() {
    ShowHelpContents(this);
}

void PesterlyMain::closeEvent(QCloseEvent* event) {
    if (unloaded_ || PesterlyMain_Form_Unload()) {
        event->accept();
        emit Unloaded();
    } else {
        event->ignore();
    }
}

void PesterlyMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange) {
        UpdateHideButton();  // a notification area may have appeared or gone meanwhile
    }
    QMainWindow::changeEvent(event);
}

void PesterlyMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    UpdateTrayMenu();
}

void PesterlyMain::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    UpdateTrayMenu();
}

void PesterlyMain::UpdateTrayMenu() {
    ShowPesterly->setVisible(!isVisible());
    TrayExit->setVisible(!isVisible());
}

bool PesterlyMain::PesterlyMain_Form_Unload() {
    if (const MaybeError error = SaveSettings(services_.db, services_.store)) {
        services_.asker.Tell(error->message +
                             "\n\nYour events are still here. Pesterly stays open so that "
                             "nothing is lost; close it again once the problem is solved.");
        return false;
    }
    services_.tray.Remove();
    unloaded_ = true;
    return true;
}

void PesterlyMain::EndOnRequest() {
    if (unloaded_) {
        return;
    }
    SaveOrRescue();
    services_.tray.Remove();
    unloaded_ = true;
    hide();
    // Not through close(): a close already under way (its failed-save message still open)
    // would swallow this one and leave the program running.
    emit Unloaded();
}

void PesterlyMain::SaveNow() {
    SaveOrRescue();
}

void PesterlyMain::SaveOrRescue() {
    const MaybeError error = SaveSettings(services_.db, services_.store);
    if (!error) {
        return;
    }
    // Nobody may be there to answer a question: keep the table where it can be written, and
    // say so where the desktop logs it. The next start tells the user where the copy is.
    std::fprintf(stderr, "pesterly: %s\n", error->message.c_str());
    const auto rescue = services_.store.KeepRescueCopy();
    if (const auto* where = std::get_if<std::string>(&rescue)) {
        std::fprintf(stderr, "pesterly: the events are kept in %s\n", where->c_str());
    } else {
        std::fprintf(stderr, "pesterly: %s\n", std::get<Error>(rescue).message.c_str());
    }
}

void PesterlyMain::PesterlyMain_StartupTimer_Timer() {
    StartupTimer->stop();
    services_.tray.Add([this](TrayMouse mouse) { PesterlyMain_Form_MouseMove(mouse); }, TrayMenu,
                       [this] { UpdateHideButton(); });
    UpdateHideButton();
}

void PesterlyMain::UpdateHideButton() {
    const bool can_hide = services_.tray.IsAvailable();
    HideButton->setEnabled(can_hide);
    HideButton->setToolTip(can_hide ? QString()
                                    : QStringLiteral("This desktop has no notification area, so "
                                                     "a hidden Pesterly could not be brought "
                                                     "back. Hide is off until there is one."));
}

void PesterlyMain::PesterlyMain_Form_MouseMove(TrayMouse mouse) {
    if (isVisible()) {
        return;  // while the window is shown the icon does not react
    }
    switch (mouse) {
        case TrayMouse::kLeftPress:
        case TrayMouse::kLeftDoubleClick:
            PesterlyMain_ShowPesterly_Click();
            break;
        case TrayMouse::kRightPress:
            TrayMenu->exec(QCursor::pos());
            break;
        case TrayMouse::kRightDoubleClick:
            close();
            break;
    }
}

void PesterlyMain::PesterlyMain_ShowPesterly_Click() {
    show();
    raise();
    activateWindow();
}

void PesterlyMain::PesterlyMain_HideButton_Click() {
    if (services_.tray.IsAvailable()) {
        hide();
    } else {
        UpdateHideButton();
    }
}

void PesterlyMain::PesterlyMain_TrayExit_Click() {
    close();
}

void PesterlyMain::PesterlyMain_FileExit_Click() {
    close();
}

}  // namespace pesterly
