#include "platform/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstring>
#include <future>

namespace pesterly {
namespace {

constexpr uid_t kNobody = 65534;

// Runs the event loop until `done` holds (asked once more each time), at most ten seconds.
template <typename Done>
bool RunEventsUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A later start, on a thread of its own while this one runs the first copy's events. (That it
// brings up the running copy's window is seen on the real program in tests/e2e/tray_test.py.)
SingleInstance::Answer StartAgain(const QString& settings) {
    auto later = std::async(std::launch::async, [settings] {
        SingleInstance copy(settings);
        EXPECT_FALSE(copy.Claim());
        return copy.RunningCopyAnswer();
    });
    RunEventsUntil(
        [&] { return later.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    return later.get();
}

// A process of user "nobody" that binds the socket name (bind_first) and answers "shown" to
// anyone, or connects to it and exits 1 when it gets any answer. Only syscalls after fork.
pid_t AsNobody(const std::string& name, bool bind_first, int ready_fd) {
    const pid_t pid = fork();
    if (pid != 0) {
        return pid;
    }
    if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
        _exit(2);
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    char reply[16];
    if (!bind_first) {
        _exit(connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                      recv(fd, reply, sizeof reply, 0) == 0
                  ? 0
                  : 1);
    }
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(fd, 4) != 0) {
        _exit(2);
    }
    [[maybe_unused]] const ssize_t ready = write(ready_fd, "r", 1);
    for (int peer; (peer = accept(fd, nullptr, nullptr)) >= 0; close(peer)) {
        [[maybe_unused]] const ssize_t sent = send(peer, "shown\n", 6, MSG_NOSIGNAL);
    }
    _exit(0);
}

TEST(SingleInstance, OnlyTheSameUserReachesTheRunningCopyAndASecondStartSaysWhatHappened) {
    QTemporaryDir folder;
    const QString settings = folder.filePath(QStringLiteral("Pesterly.ini"));
    int shown = 0;
    {
        SingleInstance first(settings);
        ASSERT_TRUE(first.Claim());
        QObject::connect(&first, &SingleInstance::ShowRequested, [&shown] { ++shown; });
        if (getuid() != 0) {
            GTEST_SKIP() << "another user's process needs root to start";
        }
        // Another user connects: no answer, no window.
        const pid_t stranger = AsNobody(SingleInstance::SocketName(settings), false, -1);
        int status = -1;
        ASSERT_TRUE(
            RunEventsUntil([&] { return waitpid(stranger, &status, WNOHANG) == stranger; }));
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
        EXPECT_EQ(shown, 0);
    }
    // Another user took the name before Pesterly started: a later start must not believe the
    // answer it gets there.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t squatter = AsNobody(SingleInstance::SocketName(settings), true, ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    SingleInstance first(settings);
    EXPECT_TRUE(first.Claim());
    EXPECT_EQ(StartAgain(settings), SingleInstance::Answer::kSocketOfAnotherUser);
    kill(squatter, SIGKILL);
    waitpid(squatter, nullptr, 0);
    close(ready[0]);
    close(ready[1]);
}

// A start that can make its lock nowhere cannot tell whether another copy runs, so it does not
// run. (One lock is enough: a second start beside a copy on a read-only settings folder is
// turned away in tests/e2e/startup_test.py.)
TEST(SingleInstance, WithoutAnyLockNoCopyRuns) {
    QTemporaryDir folder;
    const QString nowhere = folder.filePath(QStringLiteral("missing/Pesterly.lock"));
    SingleInstance lockless(nowhere, {nowhere});
    EXPECT_FALSE(lockless.Claim());
    EXPECT_EQ(lockless.RunningCopyAnswer(), SingleInstance::Answer::kNoLock);
}

}  // namespace
}  // namespace pesterly
