#pragma once

#include "ui/dialogs/ModalForm.h"

class QLabel;
class QTimeEdit;

namespace pesterly {

struct Database;

// Chooses the time of day after which the daily review may start. The form has no buttons:
// the caller opens it with exec(), the user closes it with the window's close box, and every
// way of closing applies the time shown to Database::CheckTime.
class OptionsForm : public ModalForm {
    Q_OBJECT

  public:
    OptionsForm(Database& db, QWidget* parent);

    void done(int result) override;

    QLabel* Label1 = nullptr;
    QTimeEdit* CheckTimePicker = nullptr;

  protected:
    void Opening() override;

  private:
    void CreateControls();

    void OptionsForm_Form_Load();
    void OptionsForm_Form_Unload();

    Database& db_;
};

}  // namespace pesterly
