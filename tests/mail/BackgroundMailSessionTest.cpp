#include "platform/BackgroundMailSession.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include "support/RecordingMailSession.h"

namespace pesterly {
namespace {

using testing::RecordingMailSession;

// Its Send finishes only once the calling thread has run a timer event, and gives up with an
// error after a while, so a Send that blocks the event loop fails the test instead of hanging.
class WaitingMailSession : public RecordingMailSession {
  public:
    MaybeError Send() override {
        send_thread = std::this_thread::get_id();
        MaybeError result = RecordingMailSession::Send();
        if (released.get_future().wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            return Error{"the event loop did not run while the mail was sent"};
        }
        return result;
    }

    std::promise<void> released;
    std::thread::id send_thread;
};

TEST(BackgroundMailSession, EventsKeepFlowingWhileTheMailGoesOut) {
    auto inner = std::make_unique<WaitingMailSession>();
    WaitingMailSession& waiting = *inner;
    BackgroundMailSession session(std::move(inner));
    ASSERT_FALSE(session.SignOn());
    session.Compose();
    session.AddRecipient(RecipientType::kBcc, "a@x.org", "a@x.org");
    session.SetSubject("Rent");
    session.SetNoteText("Due.");
    int ticks = 0;
    QTimer::singleShot(0, [&] {
        ++ticks;
        waiting.released.set_value();
    });
    const MaybeError error = session.Send();
    session.SignOff();
    EXPECT_FALSE(error) << error->message;
    EXPECT_EQ(ticks, 1);
    EXPECT_NE(waiting.send_thread, std::this_thread::get_id());
    EXPECT_EQ(waiting.calls,
              (std::vector<std::string>{"SignOn", "Compose", "AddRecipient", "SetSubject",
                                        "SetNoteText", "Send", "SignOff"}));
    EXPECT_EQ(waiting.recipients[0].type, RecipientType::kBcc);
    EXPECT_EQ(waiting.subject, "Rent");
}

TEST(BackgroundMailSession, FailureOfTheWorkerReachesTheCaller) {
    auto inner = std::make_unique<RecordingMailSession>();
    inner->fail_send = "Sending the mail through mail.example failed: timeout.";
    BackgroundMailSession session(std::move(inner));
    const MaybeError error = session.Send();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->message, "Sending the mail through mail.example failed: timeout.");
}

}  // namespace
}  // namespace pesterly
