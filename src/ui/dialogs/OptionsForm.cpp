#include "ui/dialogs/OptionsForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>

#include "store/Database.h"

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

OptionsForm::OptionsForm(Database& db, QWidget* parent)
    : ModalForm(QStringLiteral("OptionsForm"), QStringLiteral("Pesterly Options"), parent),
      db_(db) {
    CreateControls();
}

void OptionsForm::CreateControls() {
    Label1 = new QLabel(tr("&Pop up the nag window at"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    CheckTimePicker = new QTimeEdit(this);
    CheckTimePicker->setObjectName(QStringLiteral("CheckTimePicker"));
    CheckTimePicker->setDisplayFormat(TimeFormatWithSeconds());

    Label1->setBuddy(CheckTimePicker);
    auto* form = new QGridLayout(this);
    form->addWidget(Label1, 0, 0);
    form->addWidget(CheckTimePicker, 0, 1);
    form->setColumnStretch(2, 1);
    OpenAtDesignSize(4680, 945);
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
    const DateValue time = db_.CheckTime.TimePart();
    CheckTimePicker->setTime(QTime(time.Hour(), time.Minute(), time.Second()));
    CheckTimePicker->setFocus();
}

void OptionsForm::OptionsForm_Form_Unload() {
    const QTime time = CheckTimePicker->time();
    db_.CheckTime = DateValue::TimeOfDay(time.hour(), time.minute(), time.second());
}

}  // namespace pesterly
