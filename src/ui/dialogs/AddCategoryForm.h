#pragma once

#include "ui/dialogs/ModalForm.h"

class QLineEdit;
class QPushButton;

namespace pesterly {

struct Database;

// Appends one category name to the table. The caller opens it with exec() and then reads the
// category table; the form itself returns nothing. A name is stored exactly as typed, and
// nothing is stored once the table holds as many names as the form may add.
class AddCategoryForm : public ModalForm {
    Q_OBJECT

  public:
    AddCategoryForm(Database& db, QWidget* parent);

    QLineEdit* DescText = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void Opening() override;

  private:
    void CreateControls();
    void WireHandlers();

    void AddCategoryForm_DescText_Change();
    void AddCategoryForm_OKButton_Click();
    void AddCategoryForm_CancelButton_Click();

    Database& db_;
};

}  // namespace pesterly
