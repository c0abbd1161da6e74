#pragma once

#include <QDate>
#include <cstdint>

#include "store/DateValue.h"
#include "ui/dialogs/ModalForm.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace pesterly {

class AddCategoryForm;
struct Database;

// Edits the event held in Database::EditBuffer. The caller fills the buffer, opens the form
// with exec() and, once it returns, copies the buffer back unless Database::EditCancelled is
// true. OK writes the controls into the buffer; Cancel sets EditCancelled; the close box does
// neither, so the buffer comes back exactly as the caller left it.
class EditHappening : public ModalForm {
    Q_OBJECT

  public:
    EditHappening(Database& db, QWidget* parent);

    // Rebuilds the category list from the table and selects the buffer's category.
    void FillCategoryBox();

    QLineEdit* DescText = nullptr;
    QDateEdit* DTPicker1 = nullptr;
    QComboBox* RepeatCombo = nullptr;
    QLabel* Label2 = nullptr;
    QComboBox* CategoryCombo = nullptr;
    QPushButton* AddCategory = nullptr;
    QCheckBox* SendNagmail = nullptr;
    QGroupBox* Emailframe = nullptr;
    QCheckBox* FullList = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* CustomEmail = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* BodyText = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  Q_SIGNALS:
    // A category was added to the table while the form is open; it stays whatever the form's
    // own OK or Cancel does.
    void CategoryAdded();

  protected:
    void Opening() override;

  private:
    void CreateControls();
    void WireHandlers();
    void EnableMailControls(bool enabled);
    void ChangeMade();
    // The picker's day with the event's own time of day; the event's date when untouched.
    DateValue PickedEventDate() const;

    void EditHappening_Form_Load();
    void EditHappening_OKButton_Click();
    void EditHappening_CancelButton_Click();
    void EditHappening_AddCategory_Click();
    void EditHappening_SendNagmail_Click();
    void EditHappening_DescText_Change();
    void EditHappening_DTPicker1_Change();
    void EditHappening_RepeatCombo_Click();
    void EditHappening_CategoryCombo_Click();
    void EditHappening_FullList_Click();
    void EditHappening_CustomEmail_Change();
    void EditHappening_BodyText_Change();

    Database& db_;
    AddCategoryForm* add_category_form_ = nullptr;  // created on first use

    // What the load found, for the fields a control cannot always show: a repeat code or a
    // category with no list entry, and the time of day and out-of-range years a date picker
    // has no room for. OK gives them back unless the user changed that control.
    int16_t loaded_repeat_ = 0;
    int16_t loaded_category_ = 0;
    DateValue loaded_date_;
    QDate shown_date_;
};

}  // namespace pesterly
