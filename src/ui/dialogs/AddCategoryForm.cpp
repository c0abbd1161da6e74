#include "ui/dialogs/AddCategoryForm.h"

#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "store/Database.h"
#include "store/TextForms.h"

namespace pesterly {

AddCategoryForm::AddCategoryForm(Database& db, QWidget* parent)
    : ModalForm(QStringLiteral("AddCategoryForm"), tr("Add a Category"), parent), db_(db) {
    CreateControls();
    WireHandlers();
}

void AddCategoryForm::CreateControls() {
    DescText = new QLineEdit(this);
    DescText->setMaxLength(kNoLengthLimit);
    DescText->setObjectName(QStringLiteral("DescText"));
    OKButton = NewButton(QStringLiteral("OKButton"), tr("OK"), this);
    CancelButton = NewButton(QStringLiteral("CancelButton"), tr("Cancel"), this);

    DescText->setAccessibleName(tr("New category"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(OKButton);
    buttons->addWidget(CancelButton);
    auto* form = new QVBoxLayout(this);
    form->addWidget(DescText);
    form->addLayout(buttons);

    setTabOrder(CancelButton, OKButton);
    setTabOrder(OKButton, DescText);
    OpenAtDesignSize(2685, 1485);
}

void AddCategoryForm::WireHandlers() {
    connect(DescText, &QLineEdit::textChanged, this,
            &AddCategoryForm::AddCategoryForm_DescText_Change);
    connect(OKButton, &QPushButton::clicked, this,
            &AddCategoryForm::AddCategoryForm_OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this,
            &AddCategoryForm::AddCategoryForm_CancelButton_Click);
}

void AddCategoryForm::Opening() {
    // The form has nothing to load: every opening starts with an empty name.
    DescText->clear();
    OKButton->setEnabled(false);
    CancelButton->setFocus();
}

void AddCategoryForm::AddCategoryForm_DescText_Change() {
    const std::string name = DescText->text().toStdString();
    OKButton->setEnabled(!forms::TrimBlanks(name).empty());
}

void AddCategoryForm::AddCategoryForm_OKButton_Click() {
    // A full table takes no more names; the form closes all the same and says nothing.
    db_.AppendCategory(DescText->text().toStdString());
    accept();
}

void AddCategoryForm::AddCategoryForm_CancelButton_Click() {
    reject();
}

}  // namespace pesterly
