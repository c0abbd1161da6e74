#include "ui/dialogs/OptionsForm.h"

#include <QLabel>
#include <QLocale>
#include <QTimeEdit>

#include "store/Database.h"
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

OptionsForm::OptionsForm(Database& db, QWidget* parent)
    : ModalForm(QStringLiteral("OptionsForm"), QStringLiteral("Pesterly Options"), parent),
      db_(db) {
    CreateControls();
}

void OptionsForm::CreateControls() {
    Label1 = new QLabel(QStringLiteral("Pop up the nag window at"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CheckTimePicker = new QTimeEdit(this);
    CheckTimePicker->setObjectName(QStringLiteral("CheckTimePicker"));
    CheckTimePicker->setDisplayFormat(TimeFormatWithSeconds());

    TwipsLayout layout;
    layout.Place(Label1, 120, 240, 2175, 255);
    layout.Place(CheckTimePicker, 2400, 120, 1455, 375);
    layout.Finish(this, 4680, 945);
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
