#include "ui/dialogs/EditHappening.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "store/Database.h"
#include "ui/Twips.h"
#include "ui/dialogs/AddCategoryForm.h"

namespace pesterly {
namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// The user's short date form, but with the whole year: events may lie a century apart.
QString DateFormatWithFullYear() {
    QString format = QLocale().dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy"))) {
        format.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    }
    return format;
}

// Invalid when the Qt calendar has no such date: year 0, or a year of more than four digits.
QDate ToQDate(DateValue value) {
    const int64_t year = value.Year();
    if (year < -9999 || year > 9999) {
        return {};
    }
    return QDate(static_cast<int>(year), value.Month(), value.Day());
}

}  // namespace

EditHappening::EditHappening(Database& db, QWidget* parent)
    : ModalForm(QStringLiteral("EditHappening"), QStringLiteral("Edit Event"), parent), db_(db) {
    CreateControls();
    WireHandlers();
}

void EditHappening::CreateControls() {
    DescText = new QLineEdit(this);
    DescText->setMaxLength(kNoLengthLimit);
    DescText->setObjectName(QStringLiteral("DescText"));
    DTPicker1 = new QDateEdit(this);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setCalendarPopup(true);
    DTPicker1->setDisplayFormat(DateFormatWithFullYear());
    DTPicker1->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    RepeatCombo = new QComboBox(this);
    RepeatCombo->setObjectName(QStringLiteral("RepeatCombo"));
    Label2 = new QLabel(QStringLiteral("Category"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    CategoryCombo = new QComboBox(this);
    CategoryCombo->setObjectName(QStringLiteral("CategoryCombo"));
    AddCategory = NewButton(QStringLiteral("AddCategory"), QStringLiteral("Add Category"), this);
    SendNagmail = new QCheckBox(QStringLiteral("Send Nag Mail?"), this);
    SendNagmail->setObjectName(QStringLiteral("SendNagmail"));

    Emailframe = new QGroupBox(QStringLiteral("EMail Options"), this);
    Emailframe->setObjectName(QStringLiteral("Emailframe"));
    FullList = new QCheckBox(QStringLiteral("EMail Full NagList?"), Emailframe);
    FullList->setObjectName(QStringLiteral("FullList"));
    Label1 = new QLabel(QStringLiteral("Special Address"), Emailframe);
    Label1->setObjectName(QStringLiteral("Label1"));
    CustomEmail = new QLineEdit(Emailframe);
    CustomEmail->setMaxLength(kNoLengthLimit);
    CustomEmail->setObjectName(QStringLiteral("CustomEmail"));
    Label3 = new QLabel(QStringLiteral("Text for message body"), Emailframe);
    Label3->setObjectName(QStringLiteral("Label3"));
    for (QLabel* label : {Label1, Label2, Label3}) {
        // A caption starts at the top of its box, level with the text of the box beside it.
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
    BodyText = new QLineEdit(Emailframe);
    BodyText->setMaxLength(kNoLengthLimit);
    BodyText->setObjectName(QStringLiteral("BodyText"));
    // The box is drawn tall; its one line reads best at the top, under its caption.
    BodyText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = NewButton(QStringLiteral("OKButton"), QStringLiteral("OK"), this);
    CancelButton = NewButton(QStringLiteral("CancelButton"), QStringLiteral("Cancel"), this);

    TwipsLayout layout;
    layout.Place(DescText, 120, 240, 4935, 375);
    layout.Place(DTPicker1, 120, 840, 1455, 375);
    layout.Place(RepeatCombo, 1800, 840, 1695, 315);
    layout.Place(Label2, 120, 1440, 975, 255);
    layout.Place(CategoryCombo, 1200, 1440, 1695, 315);
    layout.Place(AddCategory, 3240, 1440, 1575, 255);
    layout.Place(SendNagmail, 240, 1920, 1695, 255);
    layout.Place(Emailframe, 120, 2280, 4935, 3255);
    layout.Place(FullList, 120, 360, 1695, 255);
    // Label1 and Label3 stop where the box they caption begins, so that no two controls
    // share a pixel.
    layout.Place(Label1, 120, 840, 1200, 345);
    layout.Place(CustomEmail, 1320, 720, 3495, 375);
    layout.Place(Label3, 120, 1185, 2415, 255);
    layout.Place(BodyText, 120, 1440, 4695, 1575);
    layout.Place(OKButton, 3000, 5640, 975, 375);
    layout.Place(CancelButton, 4080, 5640, 975, 375);
    layout.Finish(this, 5220, 6240);

    QWidget* const order[] = {RepeatCombo,  DTPicker1,     DescText,    OKButton,
                              CancelButton, CategoryCombo, AddCategory, CustomEmail,
                              BodyText,     SendNagmail,   FullList};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void EditHappening::WireHandlers() {
    connect(OKButton, &QPushButton::clicked, this, &EditHappening::EditHappening_OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this,
            &EditHappening::EditHappening_CancelButton_Click);
    connect(AddCategory, &QPushButton::clicked, this,
            &EditHappening::EditHappening_AddCategory_Click);
    connect(SendNagmail, &QCheckBox::toggled, this,
            &EditHappening::EditHappening_SendNagmail_Click);
    connect(DescText, &QLineEdit::textChanged, this, &EditHappening::EditHappening_DescText_Change);
    connect(DTPicker1, &QDateEdit::dateChanged, this,
            &EditHappening::EditHappening_DTPicker1_Change);
    connect(RepeatCombo, &QComboBox::currentIndexChanged, this,
            &EditHappening::EditHappening_RepeatCombo_Click);
    connect(CategoryCombo, &QComboBox::currentIndexChanged, this,
            &EditHappening::EditHappening_CategoryCombo_Click);
    connect(FullList, &QCheckBox::toggled, this, &EditHappening::EditHappening_FullList_Click);
    connect(CustomEmail, &QLineEdit::textChanged, this,
            &EditHappening::EditHappening_CustomEmail_Change);
    connect(BodyText, &QLineEdit::textChanged, this, &EditHappening::EditHappening_BodyText_Change);
}

void EditHappening::Opening() {
    EditHappening_Form_Load();
}

void EditHappening::FillCategoryBox() {
    CategoryCombo->clear();
    CategoryCombo->addItem(QStringLiteral("(none)"));
    for (int i = 1; i <= db_.CategoryCount; ++i) {
        CategoryCombo->addItem(FromStd(db_.Categories[i - 1]));
    }
    // A category the list does not hold shows no selection at all.
    const int category = db_.EditBuffer.Category;
    CategoryCombo->setCurrentIndex(category >= 0 && category < CategoryCombo->count() ? category
                                                                                      : -1);
}

void EditHappening::EnableMailControls(bool enabled) {
    Emailframe->setEnabled(enabled);
    FullList->setEnabled(enabled);
    BodyText->setEnabled(enabled);
    CustomEmail->setEnabled(enabled);
}

void EditHappening::ChangeMade() {
    OKButton->setEnabled(true);
}

DateValue EditHappening::PickedEventDate() const {
    const QDate date = DTPicker1->date();
    if (date == shown_date_) {
        return loaded_date_;
    }
    // The picker edits the day only: the event keeps its time of day.
    return DateValue(DateValue::Compose(date.year(), date.month(), date.day()).Seconds() +
                     loaded_date_.TimePart().Seconds());
}

void EditHappening::EditHappening_Form_Load() {
    const Happening& event = db_.EditBuffer;
    loaded_repeat_ = event.Repeat;
    loaded_category_ = event.Category;
    loaded_date_ = event.EventDate;

    RepeatCombo->clear();
    RepeatCombo->addItems({QStringLiteral("None"), QStringLiteral("Yearly"),
                           QStringLiteral("Monthly"), QStringLiteral("Weekly"),
                           QStringLiteral("Daily")});
    FillCategoryBox();
    // A repeat code the list does not hold shows no selection at all.
    const bool listed = event.Repeat >= 0 && event.Repeat < RepeatCombo->count();
    RepeatCombo->setCurrentIndex(listed ? event.Repeat : -1);
    DescText->setText(FromStd(event.Desc));
    const QDate date = ToQDate(event.EventDate);
    DTPicker1->setDate(date.isValid() ? date : DTPicker1->minimumDate());
    shown_date_ = DTPicker1->date();
    SendNagmail->setChecked(event.SendMail);
    EnableMailControls(event.SendMail);
    FullList->setChecked(event.UseNagList);
    CustomEmail->setText(FromStd(event.SpecialEmail));
    BodyText->setText(FromStd(event.EmailBody));
    // Filling the controls above reported changes; the form still opens unchanged.
    OKButton->setEnabled(false);
    CancelButton->setEnabled(true);
    db_.EditCancelled = false;
    RepeatCombo->setFocus();
}

void EditHappening::EditHappening_OKButton_Click() {
    Happening& event = db_.EditBuffer;
    const int repeat = RepeatCombo->currentIndex();
    event.Repeat = repeat < 0 ? loaded_repeat_ : static_cast<int16_t>(repeat);
    event.Desc = DescText->text().toStdString();
    event.EventDate = PickedEventDate();
    event.SendMail = SendNagmail->isChecked();
    event.UseNagList = FullList->isChecked();
    event.SpecialEmail = CustomEmail->text().toStdString();
    const int category = CategoryCombo->currentIndex();
    event.Category = category < 0 ? loaded_category_ : static_cast<int16_t>(category);
    event.EmailBody = BodyText->text().toStdString();
    accept();
}

void EditHappening::EditHappening_CancelButton_Click() {
    db_.EditCancelled = true;
    reject();
}

void EditHappening::EditHappening_AddCategory_Click() {
    if (add_category_form_ == nullptr) {
        add_category_form_ = new AddCategoryForm(db_, this);
    }
    const int before = db_.CategoryCount;
    add_category_form_->exec();
    if (db_.CategoryCount != before) {
        Q_EMIT CategoryAdded();
    }
    // The list goes back to the event's stored category, which also counts as a change.
    FillCategoryBox();
}

void EditHappening::EditHappening_SendNagmail_Click() {
    ChangeMade();
    EnableMailControls(SendNagmail->isChecked());
}

void EditHappening::EditHappening_DescText_Change() {
    ChangeMade();
}

void EditHappening::EditHappening_DTPicker1_Change() {
    ChangeMade();
}

void EditHappening::EditHappening_RepeatCombo_Click() {
    ChangeMade();
}

void EditHappening::EditHappening_CategoryCombo_Click() {
    ChangeMade();
}

void EditHappening::EditHappening_FullList_Click() {
    ChangeMade();
}

void EditHappening::EditHappening_CustomEmail_Change() {
    ChangeMade();
}

void EditHappening::EditHappening_BodyText_Change() {
    ChangeMade();
}

}  // namespace pesterly
