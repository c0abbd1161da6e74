#include "platform/MailModule.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

// The tests run from a folder without the mail module, as an installation that lost it would:
// sending must fail with a message that says so, not crash or pretend to succeed.
TEST(MailModule, MissingModuleMakesEverySendFailWithTheReason) {
    const std::unique_ptr<MailSession> session = MakeSystemMailSession(MailSettings{});
    ASSERT_NE(session, nullptr);
    const MaybeError signed_on = session->SignOn();
    ASSERT_TRUE(signed_on);
    EXPECT_NE(signed_on->message.find("libpesterly-mail.so"), std::string::npos)
        << signed_on->message;
    session->Compose();
    session->AddRecipient(RecipientType::kTo, "", "someone@example.org");
    EXPECT_TRUE(session->Send());
    session->SignOff();
}

}  // namespace
}  // namespace pesterly
