#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "mail/MailSession.h"
#include "mail/NagMail.h"
#include "reminder/NagMailer.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The review's mailer: a fresh mail session for every nag mail, so that no session outlives
// the mail it was opened for.
class SessionNagMailer : public NagMailer {
  public:
    using SessionFactory = std::function<std::unique_ptr<MailSession>()>;

    SessionNagMailer(SettingsStore& store, SessionFactory make_session)
        : store_(store), make_session_(std::move(make_session)) {}

    MaybeError SendNagMail(const Happening& event) override {
        const std::unique_ptr<MailSession> session = make_session_();
        return pesterly::SendNagMail(event, store_, *session);
    }

  private:
    SettingsStore& store_;
    SessionFactory make_session_;
};

}  // namespace pesterly
