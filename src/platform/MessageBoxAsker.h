#pragma once

#include "reminder/QuestionAsker.h"

namespace pesterly {

// Questions and messages as QMessageBox dialogs titled "Pesterly", with no owner window.
class MessageBoxAsker : public QuestionAsker {
  public:
    Answer AskYesNoCancel(const std::string& prompt) override;
    void Tell(const std::string& message) override;
    void Explain(const Text& message) override;
};

}  // namespace pesterly
