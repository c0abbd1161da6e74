#pragma once

#include <string>
#include <vector>

#include "mail/MailSession.h"

namespace pesterly::testing {

// A mail session that records every call in order and can be told to fail one step.
class RecordingMailSession : public MailSession {
  public:
    struct Recipient {
        RecipientType type;
        std::string display_name;
        std::string address;
        friend bool operator==(const Recipient&, const Recipient&) = default;
    };

    MaybeError SignOn() override {
        calls.push_back("SignOn");
        return fail_sign_on.empty() ? MaybeError() : Error{fail_sign_on};
    }
    void Compose() override {
        calls.push_back("Compose");
        recipients.clear();
        subject.clear();
        text.clear();
    }
    void AddRecipient(RecipientType type, std::string display_name, std::string address) override {
        calls.push_back("AddRecipient");
        recipients.push_back({type, std::move(display_name), std::move(address)});
    }
    void SetSubject(std::string value) override {
        calls.push_back("SetSubject");
        subject = std::move(value);
    }
    void SetNoteText(std::string value) override {
        calls.push_back("SetNoteText");
        text = std::move(value);
    }
    MaybeError Send() override {
        calls.push_back("Send");
        return fail_send.empty() ? MaybeError() : Error{fail_send};
    }
    void SignOff() override { calls.push_back("SignOff"); }

    bool Touched() const { return !calls.empty(); }

    std::vector<std::string> calls;
    std::vector<Recipient> recipients;
    std::string subject;
    std::string text;
    // A non-empty text makes that step fail with it.
    std::string fail_sign_on;
    std::string fail_send;
};

}  // namespace pesterly::testing
