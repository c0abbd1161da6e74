#pragma once

#include "ui/dialogs/ModalForm.h"

class QCheckBox;
class QLabel;
class QTimeEdit;

namespace pesterly {

struct Options;

// Chooses the time of day after which the daily review may start, and whether Pesterly starts
// at login. The form has no buttons: the caller opens it with exec(), the user closes it with
// the window's close box, and every way of closing applies what the form shows to the options.
class OptionsForm : public ModalForm {
    Q_OBJECT

  public:
    OptionsForm(Options& options, QWidget* parent);

    void done(int result) override;

    QLabel* Label1 = nullptr;
    QTimeEdit* CheckTimePicker = nullptr;
    QCheckBox* StartAtLoginCheck = nullptr;

  protected:
    void Opening() override;

  private:
    void CreateControls();

    void OptionsForm_Form_Load();
    void OptionsForm_Form_Unload();

    Options& options_;
};

}  // namespace pesterly
