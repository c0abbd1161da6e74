#include "ui/dialogs/NagList.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "mail/NagListSettings.h"
#include "platform/ShownText.h"
#include "reminder/QuestionAsker.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

std::string Trimmed(const QString& text) {
    return std::string(forms::TrimBlanks(text.toStdString()));
}

}  // namespace

NagList::NagList(SettingsStore& store, QuestionAsker& asker, QWidget* parent)
    : ModalForm(QStringLiteral("NagList"), tr("Edit Nag List"), parent),
      store_(store),
      asker_(asker) {
    CreateControls();
    WireHandlers();
}

void NagList::CreateControls() {
    ListFrame = new QGroupBox(tr("To List"), this);
    ListFrame->setObjectName(QStringLiteral("ListFrame"));
    NewEmail = new QLineEdit(ListFrame);
    NewEmail->setMaxLength(kNoLengthLimit);
    NewEmail->setObjectName(QStringLiteral("NewEmail"));
    AddEmail = NewButton(QStringLiteral("AddEmail"), tr("Add"), ListFrame);
    Emails = new QListWidget(ListFrame);
    Emails->setObjectName(QStringLiteral("Emails"));
    Emails->setSelectionMode(QAbstractItemView::SingleSelection);
    Emails->setSortingEnabled(false);
    DeleteEmail = NewButton(QStringLiteral("DeleteEmail"), tr("Delete"), ListFrame);

    AddressingFrame = new QGroupBox(tr("Addressing Options"), this);
    AddressingFrame->setObjectName(QStringLiteral("AddressingFrame"));
    UseToOption = new QRadioButton(tr("Use TO:"), AddressingFrame);
    UseToOption->setObjectName(QStringLiteral("UseToOption"));
    UseBCCOption = new QRadioButton(tr("Use BCC:"), AddressingFrame);
    UseBCCOption->setObjectName(QStringLiteral("UseBCCOption"));
    ToAddress = new QLineEdit(AddressingFrame);
    ToAddress->setMaxLength(kNoLengthLimit);
    ToAddress->setObjectName(QStringLiteral("ToAddress"));

    OKButton = NewButton(QStringLiteral("OKButton"), tr("OK"), this);
    CancelButton = NewButton(QStringLiteral("CancelButton"), tr("Cancel"), this);

    NewEmail->setAccessibleName(tr("New address"));
    NewEmail->setAccessibleDescription(tr("\"Add\" puts this address on the nag list"));
    Emails->setAccessibleName(tr("Nag list"));
    ToAddress->setAccessibleName(tr("To address"));
    ToAddress->setAccessibleDescription(
        tr("The address in the To: line when the nag list goes in BCC:"));

    auto* list = new QGridLayout(ListFrame);
    list->addWidget(NewEmail, 0, 0);
    list->addWidget(AddEmail, 0, 1);
    list->addWidget(Emails, 1, 0, 2, 1);
    list->addWidget(DeleteEmail, 1, 1);
    list->setRowStretch(2, 1);
    auto* addressing = new QGridLayout(AddressingFrame);
    addressing->addWidget(UseToOption, 0, 0);
    addressing->addWidget(UseBCCOption, 0, 1);
    addressing->addWidget(ToAddress, 1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* form = new QVBoxLayout(this);
    form->addWidget(ListFrame, 1);
    form->addWidget(AddressingFrame);
    form->addLayout(buttons);

    QWidget* const order[] = {OKButton, CancelButton, DeleteEmail, AddEmail,    NewEmail,
                              Emails,   ToAddress,    UseToOption, UseBCCOption};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
    OpenAtDesignSize(4995, 5385);
}

void NagList::WireHandlers() {
    connect(NewEmail, &QLineEdit::textChanged, this, &NagList::NagList_NewEmail_Change);
    connect(AddEmail, &QPushButton::clicked, this, &NagList::NagList_AddEmail_Click);
    connect(Emails, &QListWidget::itemSelectionChanged, this, &NagList::NagList_Emails_Click);
    connect(DeleteEmail, &QPushButton::clicked, this, &NagList::NagList_DeleteEmail_Click);
    connect(ToAddress, &QLineEdit::textChanged, this, &NagList::NagList_ToAddress_Change);
    // An option button reports being chosen, not being left for the other one.
    connect(UseToOption, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen) {
            NagList_UseToOption_Click();
        }
    });
    connect(UseBCCOption, &QRadioButton::toggled, this, [this](bool chosen) {
        if (chosen) {
            NagList_UseBCCOption_Click();
        }
    });
    connect(OKButton, &QPushButton::clicked, this, &NagList::NagList_OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &NagList::NagList_CancelButton_Click);
}

void NagList::Opening() {
    NagList_Form_Load();
}

void NagList::NagList_Form_Load() {
    NewEmail->clear();
    AddEmail->setEnabled(false);
    DeleteEmail->setEnabled(false);
    const NagListSettings settings = ReadNagList(store_);
    Emails->clear();
    // An entry that was never stored shows as "0", and is saved so by OK.
    for (const std::optional<std::string>& entry : settings.entries) {
        Emails->addItem(FromStd(entry.value_or("0")));
    }
    (settings.use_to ? UseToOption : UseBCCOption)->setChecked(true);
    ToAddress->setText(FromStd(settings.to_address.value_or("")));
    ToAddress->setEnabled(UseBCCOption->isChecked());
    // Filling the controls above reported changes; the form still opens unchanged.
    OKButton->setEnabled(false);
    CancelButton->setFocus();
}

void NagList::NagList_NewEmail_Change() {
    AddEmail->setEnabled(!Trimmed(NewEmail->text()).empty());
}

void NagList::NagList_AddEmail_Click() {
    Emails->addItem(FromStd(Trimmed(NewEmail->text())));
    NewEmail->clear();
    OKButton->setEnabled(true);
}

void NagList::NagList_Emails_Click() {
    if (!Emails->selectedItems().isEmpty()) {
        DeleteEmail->setEnabled(true);
    }
}

void NagList::NagList_DeleteEmail_Click() {
    const QList<QListWidgetItem*> selected = Emails->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    delete Emails->takeItem(Emails->row(selected.front()));
    // The list would carry the selection on to a neighbour; a second press must not remove
    // an entry the user never picked.
    Emails->clearSelection();
    OKButton->setEnabled(true);
}

void NagList::NagList_ToAddress_Change() {
    OKButton->setEnabled(true);
}

void NagList::NagList_UseToOption_Click() {
    OKButton->setEnabled(true);
    ToAddress->setEnabled(false);
}

void NagList::NagList_UseBCCOption_Click() {
    OKButton->setEnabled(true);
    ToAddress->setEnabled(true);
}

void NagList::NagList_OKButton_Click() {
    NagListSettings settings;
    for (int k = 0; k < Emails->count(); ++k) {
        settings.entries.push_back(Emails->item(k)->text().toStdString());
    }
    settings.to_address = ToAddress->text().toStdString();
    settings.use_to = UseToOption->isChecked();
    if (const Result<void> saved = SaveNagList(store_, settings); !saved) {
        asker_.Tell(tr("%1\n\nThe nag list was not saved. Press OK to try again.")
                        .arg(Shown(saved.error()))
                        .toStdString());
        return;
    }
    accept();
}

void NagList::NagList_CancelButton_Click() {
    reject();
}

}  // namespace pesterly
