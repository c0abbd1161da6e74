#include "platform/MailModule.h"

#include <gtest/gtest.h>

namespace pesterly {
namespace {

// The tests run from a folder without the mail module, as an installation that lost it would:
// there is no way out for mail, and the reason says so.
TEST(MailModule, MissingModuleSaysWhyNoMailCanBeSent) {
    std::string reason;
    EXPECT_EQ(LoadMailPost(MailSettings{}, reason), nullptr);
    EXPECT_NE(reason.find("libpesterly-mail.so"), std::string::npos) << reason;
}

}  // namespace
}  // namespace pesterly
