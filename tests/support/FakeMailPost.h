#pragma once

#include <string>

#include "platform/mail/MailPost.h"

namespace pesterly::testing {

// A way out for mail that answers every delivery alike; the message is the subject alone.
class FakeMailPost : public MailPost {
  public:
    explicit FakeMailPost(Delivery answer) : answer_(std::move(answer)) {}
    Result<ComposedMail> Compose(const MailDraft& draft) override {
        return ComposedMail{draft.event, "me@home.example", draft.recipients,
                            "Subject: " + draft.subject};
    }
    Delivery Deliver(const ComposedMail& /*mail*/) override { return answer_; }
    Result<std::string> SendTestMail() override { return answer_.message; }

  private:
    Delivery answer_;
};

}  // namespace pesterly::testing
