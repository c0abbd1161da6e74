#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "reminder/QuestionAsker.h"

namespace pesterly::testing {

// Answers questions from a script and records every prompt and message. A question beyond
// the script is answered Cancel and counted as unexpected.
class ScriptedAsker : public QuestionAsker {
  public:
    void Script(const std::vector<Answer>& answers) {
        answers_.assign(answers.begin(), answers.end());
    }

    Answer AskYesNoCancel(const std::string& prompt) override {
        questions.push_back(prompt);
        if (on_question) {
            on_question(prompt);
        }
        if (answers_.empty()) {
            ++unexpected;
            return Answer::kCancel;
        }
        const Answer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    void Tell(const std::string& message) override { messages.push_back(message); }

    std::vector<std::string> questions;
    std::vector<std::string> messages;
    int unexpected = 0;
    // Runs while a question is open, as the timers of a real program would.
    std::function<void(const std::string&)> on_question;

  private:
    std::deque<Answer> answers_;
};

}  // namespace pesterly::testing
