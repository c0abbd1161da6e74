#include "ui/dialogs/OptionsForm.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>

#include "store/Database.h"
#include "store/Options.h"

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
    : ModalForm(QStringLiteral("OptionsForm"), tr("Pesterly Options"), parent), options_(options) {
    CreateControls();
}

void OptionsForm::CreateControls() {
    Label1 = new QLabel(tr("&Pop up the nag window at"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    CheckTimePicker = new QTimeEdit(this);
    CheckTimePicker->setObjectName(QStringLiteral("CheckTimePicker"));
    CheckTimePicker->setDisplayFormat(TimeFormatWithSeconds());
    StartAtLoginCheck = new QCheckBox(tr("Start Pesterly when I log in"), this);
    StartAtLoginCheck->setObjectName(QStringLiteral("StartAtLoginCheck"));

    Label1->setBuddy(CheckTimePicker);
    auto* form = new QGridLayout(this);
    form->addWidget(Label1, 0, 0);
    form->addWidget(CheckTimePicker, 0, 1);
    form->addWidget(StartAtLoginCheck, 1, 0, 1, 3);
    form->setColumnStretch(2, 1);
    OpenAtDesignSize(4680, 1215);
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
