#pragma once

#include "ui/dialogs/ModalForm.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace pesterly {

class QuestionAsker;
class SettingsStore;

// Edits the nag list and its addressing choice. The caller opens it with exec(); OK writes the
// whole "NagList" section of the store and commits it, everything else writes nothing. When
// the commit fails the user is told through the asker and the form stays open, so that OK can
// be pressed again once the problem is solved.
class NagList : public ModalForm {
    Q_OBJECT

  public:
    NagList(SettingsStore& store, QuestionAsker& asker, QWidget* parent);

    QGroupBox* ListFrame = nullptr;
    QLineEdit* NewEmail = nullptr;
    QPushButton* AddEmail = nullptr;
    QListWidget* Emails = nullptr;
    QPushButton* DeleteEmail = nullptr;
    QGroupBox* AddressingFrame = nullptr;
    QRadioButton* UseToOption = nullptr;
    QRadioButton* UseBCCOption = nullptr;
    QLineEdit* ToAddress = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void Opening() override;

  private:
    void CreateControls();
    void WireHandlers();

    void NagList_Form_Load();
    void NagList_NewEmail_Change();
    void NagList_AddEmail_Click();
    void NagList_Emails_Click();
    void NagList_DeleteEmail_Click();
    void NagList_ToAddress_Change();
    void NagList_UseToOption_Click();
    void NagList_UseBCCOption_Click();
    void NagList_OKButton_Click();
    void NagList_CancelButton_Click();

    SettingsStore& store_;
    QuestionAsker& asker_;
};

}  // namespace pesterly
