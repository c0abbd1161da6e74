#include "ui/dialogs/EditHappening.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include "store/Database.h"
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
    : ModalForm(QStringLiteral("EditHappening"), tr("Edit Event"), parent), db_(db) {
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
    Label2 = new QLabel(tr("&Category"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    CategoryCombo = new QComboBox(this);
    CategoryCombo->setObjectName(QStringLiteral("CategoryCombo"));
    AddCategory = NewButton(QStringLiteral("AddCategory"), tr("Add Category"), this);
    SendNagmail = new QCheckBox(tr("Send Nag Mail?"), this);
    SendNagmail->setObjectName(QStringLiteral("SendNagmail"));

    Emailframe = new QGroupBox(tr("EMail Options"), this);
    Emailframe->setObjectName(QStringLiteral("Emailframe"));
    FullList = new QCheckBox(tr("EMail Full NagList?"), Emailframe);
    FullList->setObjectName(QStringLiteral("FullList"));
    Label1 = new QLabel(tr("Special &Address"), Emailframe);
    Label1->setObjectName(QStringLiteral("Label1"));
    CustomEmail = new QLineEdit(Emailframe);
    CustomEmail->setMaxLength(kNoLengthLimit);
    CustomEmail->setObjectName(QStringLiteral("CustomEmail"));
    Label3 = new QLabel(tr("Text for message &body"), Emailframe);
    Label3->setObjectName(QStringLiteral("Label3"));
    BodyText = new QLineEdit(Emailframe);
    BodyText->setMaxLength(kNoLengthLimit);
    BodyText->setObjectName(QStringLiteral("BodyText"));
    BodyText->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    OKButton = NewButton(QStringLiteral("OKButton"), tr("OK"), this);
    CancelButton = NewButton(QStringLiteral("CancelButton"), tr("Cancel"), this);

    // Every control says what it holds, also where no caption stands beside it.
    DescText->setAccessibleName(tr("Description"));
    DTPicker1->setAccessibleName(tr("Date"));
    DTPicker1->setAccessibleDescription(
        tr("A one-time event is due on this day; a repeating event shows it in the grid"));
    RepeatCombo->setAccessibleName(tr("Repeat"));
    CategoryCombo->setAccessibleName(tr("Category"));
    CustomEmail->setAccessibleName(tr("Special mail address"));
    CustomEmail->setAccessibleDescription(tr("The nag mail also goes to this address"));
    BodyText->setAccessibleName(tr("Mail text"));
    Label2->setBuddy(CategoryCombo);
    Label1->setBuddy(CustomEmail);
    Label3->setBuddy(BodyText);
    // The box was drawn three lines tall; its one line reads best at the top, under its caption.
    BodyText->setMinimumHeight(3 * BodyText->sizeHint().height() / 2);
    BodyText->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    auto* date_row = new QHBoxLayout;
    date_row->addWidget(DTPicker1);
    date_row->addWidget(RepeatCombo);
    date_row->addStretch();
    auto* category_row = new QHBoxLayout;
    category_row->addWidget(Label2);
    category_row->addWidget(CategoryCombo);
    category_row->addWidget(AddCategory);
    category_row->addStretch();
    auto* mail = new QGridLayout(Emailframe);
    mail->addWidget(FullList, 0, 0, 1, 2);
    mail->addWidget(Label1, 1, 0);
    mail->addWidget(CustomEmail, 1, 1);
    mail->addWidget(Label3, 2, 0, 1, 2);
    mail->addWidget(BodyText, 3, 0, 1, 2);
    mail->setRowStretch(3, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* form = new QVBoxLayout(this);
    form->addWidget(DescText);
    form->addLayout(date_row);
    form->addLayout(category_row);
    form->addWidget(SendNagmail);
    form->addWidget(Emailframe, 1);
    form->addLayout(buttons);
    CustomEmail->setMinimumWidth(CustomEmail->fontMetrics().averageCharWidth() * 30);

    QWidget* const order[] = {RepeatCombo,  DTPicker1,     DescText,    OKButton,
                              CancelButton, CategoryCombo, AddCategory, CustomEmail,
                              BodyText,     SendNagmail,   FullList};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    OpenAtDesignSize(5220, 6240);
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
    CategoryCombo->addItem(tr("(none)"));
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
    RepeatCombo->addItems({tr("None"), tr("Yearly"), tr("Monthly"), tr("Weekly"), tr("Daily")});
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
