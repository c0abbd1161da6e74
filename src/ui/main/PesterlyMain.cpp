#include "ui/main/PesterlyMain.h"

#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "platform/AutostartEntry.h"
#include "platform/ShownText.h"
#include "platform/TrayIcon.h"
#include "platform/mail/Outbox.h"
#include "reminder/QuestionAsker.h"
#include "reminder/Review.h"
#include "store/Clock.h"
#include "store/Database.h"
#include "store/SettingsLayout.h"
#include "ui/dialogs/AboutPesterlyForm.h"
#include "ui/dialogs/MailServerForm.h"
#include "ui/dialogs/NagList.h"
#include "ui/dialogs/OptionsForm.h"
#include "ui/help/HelpWindow.h"
#include "ui/main/CalendarCommands.h"
#include "ui/main/CalendarFileKeeper.h"
#include "ui/main/ChangeSaver.h"
#include "ui/main/Ending.h"
#include "ui/main/ExchangeCommands.h"
#include "ui/main/FlexGrid.h"
#include "ui/main/GridCommands.h"
#include "ui/main/ReviewSchedule.h"

namespace pesterly {
namespace {

// Passes the review's questions on and notes each answer as a change. The review carries out an
// answer before it asks anything else, so the save that follows finds it done.
class AnswerSavingAsker final : public QuestionAsker {
  public:
    AnswerSavingAsker(QuestionAsker& asker, ChangeSaver& saver) : asker_(asker), saver_(saver) {}
    Answer AskYesNoCancel(const std::string& prompt) override {
        const Answer answer = asker_.AskYesNoCancel(prompt);
        saver_.NoteChange();
        return answer;
    }
    void Tell(const std::string& message) override { asker_.Tell(message); }
    void Explain(const Text& message) override { asker_.Explain(message); }

  private:
    QuestionAsker& asker_;
    ChangeSaver& saver_;
};

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
    : QMainWindow(parent), services_(services) {
    setObjectName(QStringLiteral("PesterlyMain"));
    setWindowTitle(QStringLiteral("Pesterly"));
    CreateControls();
    grid_commands_ =
        std::make_unique<GridCommands>(*FGrid, services.db, services.clock, services.asker, this);
    exchange_ = std::make_unique<ExchangeCommands>(*grid_commands_, *FGrid, services.db,
                                                   services.asker, this);
    calendar_ = std::make_unique<CalendarCommands>(
        *grid_commands_, *FGrid, services.db, services.store, services.clock, services.asker, this);
    schedule_ = std::make_unique<ReviewSchedule>(
        services.db, services.clock, services.wakeup, [this] { PesterlyMain_SlowTimer_Timer(); },
        [this] { ReviewDueHappenings(); }, *this, services.notifier);
    ending_ = std::make_unique<Ending>(services.db, services.store, services.asker, services.tray);
    saver_ = std::make_unique<ChangeSaver>(services.db, services.store, services.asker);
    grid_commands_->OnTableChanged([this] { saver_->NoteChange(); });
    // Every change to the table goes through the saver; the kept calendar file follows it.
    connect(saver_.get(), &ChangeSaver::Settled, this, [this] { calendar_->Keeper().WriteNow(); });
    CreateMenus();
    WireHandlers();
    if (services.outbox != nullptr) {
        connect(services.outbox, &Outbox::WaitingChanged, this, [this](int count) {
            services_.tray.SetTip(count == 0 ? QStringLiteral("Pesterly")
                                  : count == 1
                                      ? tr("Pesterly: 1 nag mail waiting")
                                      : tr("Pesterly: %n nag mails waiting", nullptr, count));
        });
    }
    PesterlyMain_Form_Load(arguments);
    CentreOnScreen();
}

PesterlyMain::~PesterlyMain() = default;

void PesterlyMain::PesterlyMain_Form_Load(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        services_.asker.Tell(CommandLineText(arguments).toStdString());
    }
    if (const auto notice = LoadSettings(services_.db, services_.store)) {
        services_.asker.Explain(*notice);
    }
    grid_commands_->Load();
    SizeColumns();
    LoadOptions(services_.db, services_.store, services_.clock.Today());
    MenuCalendarFile->setChecked(!calendar_->Keeper().Path().isEmpty());
    calendar_->Keeper().WriteSoon();  // the calendar file is written afresh at every start
    ArmSlowTimer();
    StartupTimer->start();
}

void PesterlyMain::FillRow(int rownum, int hapnum) {
    grid_commands_->FillRow(rownum, hapnum);
}

void PesterlyMain::ReviewDueHappenings() {
    AnswerSavingAsker asker(services_.asker, *saver_);
    pesterly::ReviewDueHappenings(services_.db, asker, services_.mailer, services_.clock);
    // The schedule stamps the review date as soon as this returns, before the save runs.
    saver_->NoteChange();
    grid_commands_->Refill();
}

void PesterlyMain::ArmSlowTimer() {
    schedule_->Arm();
}

void PesterlyMain::PesterlyMain_SlowTimer_Timer() {
    schedule_->Look();
}

void PesterlyMain::PesterlyMain_Command1_Click() {
    ReviewDueHappenings();
}

void PesterlyMain::PesterlyMain_AddNewButton_Click() {
    grid_commands_->AddNew();
}

void PesterlyMain::PesterlyMain_FGrid_DblClick() {
    grid_commands_->EditCurrent();
}

void PesterlyMain::PesterlyMain_DeleteButton_Click() {
    grid_commands_->DeleteCurrent();
}

void PesterlyMain::PesterlyMain_FGrid_Click(int mouse_col) {
    grid_commands_->Sort(mouse_col);
}

void PesterlyMain::PesterlyMain_FileOptions_Click() {
    Options& options = services_.db.options;
    if (options_form_ == nullptr) {
        options_form_ = new OptionsForm(options, this);
    }
    const AutostartEntry* autostart = services_.autostart;
    const bool stored = options.StartAtLogin;
    // An entry switched off in the desktop's session settings shows as off.
    const bool shown = autostart != nullptr ? autostart->StartsAtLogin(stored) : stored;
    options.StartAtLogin = shown;
    options_form_->exec();
    if (options.StartAtLogin == shown) {
        options.StartAtLogin = stored;  // an untouched box changes nothing
    } else if (autostart != nullptr) {
        if (const Result<void> followed = autostart->Follow(options.StartAtLogin, true);
            !followed) {
            services_.asker.Tell(Shown(followed.error()).toStdString());
        }
    }
    saver_->NoteChange();
    ArmSlowTimer();  // a new review time applies at once
}

void PesterlyMain::PesterlyMain_FileMAPI_Click() {
    if (nag_list_ == nullptr) {
        nag_list_ = new NagList(services_.store, services_.asker, this);
    }
    nag_list_->exec();
}

void PesterlyMain::PesterlyMain_MailServer_Click() {
    if (mail_server_ == nullptr) {
        mail_server_ =
            new MailServerForm(services_.db.options, services_.store, services_.asker, this);
        if (services_.outbox != nullptr) {
            mail_server_->ShowOutbox(*services_.outbox);
        }
    }
    mail_server_->exec();
}

void PesterlyMain::PesterlyMain_MenuExport_Click() {
    exchange_->Export();
}

void PesterlyMain::ExportTo(const QString& path) {
    exchange_->ExportTo(path);
}

void PesterlyMain::PesterlyMain_MenuImport_Click() {
    exchange_->Import();
    saver_->NoteChange();
}

void PesterlyMain::ReadFile(const QString& infile) {
    exchange_->ReadFile(infile);
    saver_->NoteChange();
}

void PesterlyMain::PesterlyMain_MenuExportCalendar_Click() {
    calendar_->Export();
}

void PesterlyMain::PesterlyMain_MenuImportCalendar_Click() {
    calendar_->Import();
    saver_->NoteChange();
}

void PesterlyMain::PesterlyMain_MenuCalendarFile_Click() {
    MenuCalendarFile->setChecked(calendar_->ToggleKeptFile());
}

void PesterlyMain::PesterlyMain_AboutPesterly_Click() {
    AboutPesterlyForm about(this);
    about.exec();
}

void PesterlyMain::PesterlyMain_StartHelp_Click() {
    ShowHelpContents(this);
}

void PesterlyMain::closeEvent(QCloseEvent* event) {
    if (ending_->Unloaded() || PesterlyMain_Form_Unload()) {
        saver_->Stop();
        event->accept();
        Q_EMIT Unloaded();
    } else {
        event->ignore();
    }
}

bool PesterlyMain::PesterlyMain_Form_Unload() {
    return ending_->SaveAndUnload(Ending::Asking::kTheUser);
}

void PesterlyMain::EndOnRequest() {
    if (ending_->Unloaded()) {
        return;
    }
    saver_->Stop();
    ending_->SaveAndUnload(Ending::Asking::kNobody);
    hide();
    // Not through close(): a close already under way (its failed-save message still open)
    // would swallow this one and leave the program running.
    Q_EMIT Unloaded();
}

void PesterlyMain::SaveNow() {
    ending_->Save(Ending::Asking::kNobody);
}

bool PesterlyMain::SessionLost() const {
    return ending_->Lost();
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
                                    : tr("This desktop has no notification area, so a hidden "
                                         "Pesterly could not be brought back. Hide is off until "
                                         "there is one."));
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

void PesterlyMain::StartHidden(int wait_ms) {
    // At login the panel may start after Pesterly; without one the window must not stay
    // out of reach.
    QTimer::singleShot(wait_ms, this, [this] {
        if (!isVisible() && !services_.tray.IsAvailable()) {
            PesterlyMain_ShowPesterly_Click();
        }
    });
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
