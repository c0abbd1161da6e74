#include "ui/dialogs/OptionsForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>

#include "store/Options.h"
#include "ui/Twips.h"

namespace pesterly {
namespace {

// The user's own short time form (12- or 24-hour), with seconds, since the review time is
// kept to the second.
QString TimeFormatWithSeconds() {
    QString format = QLocale().timeFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1Char('s'))) {
        format.replace(QStringLiteral("mm"), QStringLiteral("mm:ss"));
    }
    return format;
}

}  // namespace

OptionsForm::OptionsForm(Options& options, QWidget* parent)
    : ModalForm(QStringLiteral("OptionsForm"), QStringLiteral("Pesterly Options"), parent),
      options_(options) {
    CreateControls();
}

void OptionsForm::CreateControls() {
    Label1 = new QLabel(QStringLiteral("Pop up the nag window at"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CheckTimePicker = new QTimeEdit(this);
    CheckTimePicker->setObjectName(QStringLiteral("CheckTimePicker"));
    CheckTimePicker->setDisplayFormat(TimeFormatWithSeconds());
    StartAtLoginCheck = new QCheckBox(QStringLiteral("Start Pesterly when I log in"), this);
    StartAtLoginCheck->setObjectName(QStringLiteral("StartAtLoginCheck"));

    TwipsLayout layout;
    layout.Place(Label1, 120, 240, 2175, 255);
    layout.Place(CheckTimePicker, 2400, 120, 1455, 375);
    layout.Place(StartAtLoginCheck, 120, 720, 4440, 315);
    layout.Finish(this, 4680, 1215);
}

void OptionsForm::Opening() {
    OptionsForm_Form_Load();
}

void OptionsForm::done(int result) {
    // The close box, and anything else that ends the form, comes through here.
    OptionsForm_Form_Unload();
    ModalForm::done(result);
}

void OptionsForm::OptionsForm_Form_Load() {
    const DateValue time = options_.CheckTime.TimePart();
    CheckTimePicker->setTime(QTime(time.Hour(), time.Minute(), time.Second()));
    StartAtLoginCheck->setChecked(options_.StartAtLogin);
    CheckTimePicker->setFocus();
}

void OptionsForm::OptionsForm_Form_Unload() {
    const QTime time = CheckTimePicker->time();
    options_.CheckTime = DateValue::TimeOfDay(time.hour(), time.minute(), time.second());
    options_.StartAtLogin = StartAtLoginCheck->isChecked();
}

}  // namespace pesterly
