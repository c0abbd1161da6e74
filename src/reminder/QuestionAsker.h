#pragma once

#include <string>

#include "store/Text.h"

namespace pesterly {

enum class Answer { kYes, kNo, kCancel };

// Modal questions and messages, titled "Pesterly". Closing a question with Escape or the
// window's close box answers Cancel.
class QuestionAsker {
  public:
    virtual ~QuestionAsker() = default;
    // Yes, No and Cancel, Yes the default; the prompt is shown exactly as given.
    virtual Answer AskYesNoCancel(const std::string& prompt) = 0;
    // A message with an OK button only.
    virtual void Tell(const std::string& message) = 0;
    // A message the windows show in the user's language; in English where no one translates.
    virtual void Explain(const Text& message) { Tell(message.English()); }
};

}  // namespace pesterly
