#include "platform/mail/SendmailTransport.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <stop_token>
#include <vector>

extern char** environ;

namespace pesterly {
namespace {

// A mail transfer agent that hangs must not hold the program for ever.
constexpr auto kDeadline = std::chrono::seconds(120);

class Fd {
  public:
    Fd() = default;
    explicit Fd(int fd) : fd_(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { Close(); }
    int get() const { return fd_; }
    void Close() { Reset(-1); }
    void Reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }

  private:
    int fd_ = -1;
};

bool MakePipe(Fd& read_end, Fd& write_end) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    read_end.Reset(fds[0]);
    write_end.Reset(fds[1]);
    return true;
}

// Writing to a program that quit without reading its input raises SIGPIPE, whose default
// action ends the whole program. The signal is blocked for this thread while the message is
// written, and a SIGPIPE raised meanwhile is taken off again before the mask is restored.
class SigpipeBlock {
  public:
    SigpipeBlock() {
        sigset_t pipe_only;
        sigemptyset(&pipe_only);
        sigaddset(&pipe_only, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        was_pending_ = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &pipe_only, &old_mask_);
    }
    ~SigpipeBlock() {
        if (!was_pending_) {
            sigset_t pipe_only;
            sigemptyset(&pipe_only);
            sigaddset(&pipe_only, SIGPIPE);
            const timespec zero{};
            while (sigtimedwait(&pipe_only, nullptr, &zero) > 0) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &old_mask_, nullptr);
    }
    SigpipeBlock(const SigpipeBlock&) = delete;
    SigpipeBlock& operator=(const SigpipeBlock&) = delete;

  private:
    sigset_t old_mask_{};
    bool was_pending_ = false;
};

std::string Describe(int status) {
    if (WIFEXITED(status)) {
        return "exit status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) {
        return std::string("signal ") + strsignal(WTERMSIG(status));
    }
    return "status " + std::to_string(status);
}

std::string TrimEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

std::string NoMailService(const std::string& program) {
    return "No mail service: " + program +
           " was not found. Install a mail transfer agent such as msmtp-mta, or set "
           "PESTERLY_MAIL_URL to your mail server (smtp://host:port).";
}

}  // namespace

Delivery SendmailTransport::Deliver(const ComposedMail& mail) {
    if (mail.envelope_recipients.empty()) {
        return Delivery::Refused("The mail has no recipient.");
    }
    if (::access(program_.c_str(), X_OK) != 0) {
        return Delivery::TryLater(NoMailService(program_));
    }
    if (stop_.stop_requested()) {
        return Delivery::TryLater(kMailStoppedAtEnd);
    }
    // -i: a line holding a single dot is text, not the end of the message.
    std::vector<std::string> args = {program_, "-i", "-f", mail.sender, "--"};
    args.insert(args.end(), mail.envelope_recipients.begin(), mail.envelope_recipients.end());
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    Fd input_read, input_write, output_read, output_write;
    if (!MakePipe(input_read, input_write) || !MakePipe(output_read, output_write)) {
        return Delivery::TryLater(std::string("Cannot start the mail service: ") +
                                  std::strerror(errno));
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input_read.get(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output_write.get(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output_write.get(), STDERR_FILENO);
    // The child starts with default signal handling whatever this thread blocks or ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t pipe_only;
    sigemptyset(&pipe_only);
    sigaddset(&pipe_only, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipe_only);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program_.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawned != 0) {
        if (spawned == ENOENT || spawned == EACCES) {
            return Delivery::TryLater(NoMailService(program_));
        }
        return Delivery::TryLater("Cannot start the mail service " + program_ + ": " +
                                  std::strerror(spawned));
    }
    input_read.Close();
    output_write.Close();
    fcntl(input_write.get(), F_SETFL, fcntl(input_write.get(), F_GETFL) | O_NONBLOCK);
    fcntl(output_read.get(), F_SETFL, fcntl(output_read.get(), F_GETFL) | O_NONBLOCK);

    // The message goes in while the program's report is read, so that neither side can stall
    // on a full pipe.
    std::string report;
    bool timed_out = false;
    bool stopped = false;
    bool exited = false;
    int status = 0;
    {
        // A stop request wakes the wait below at once.
        const Fd wake(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
        std::stop_callback on_stop(stop_, [fd = wake.get()] {
            const uint64_t one = 1;
            [[maybe_unused]] const ssize_t n = ::write(fd, &one, sizeof one);
        });
        SigpipeBlock block;
        size_t written = 0;
        const auto deadline = std::chrono::steady_clock::now() + kDeadline;
        if (mail.text.empty()) {
            input_write.Close();
        }
        while (output_read.get() >= 0) {
            pollfd fds[3] = {{output_read.get(), POLLIN, 0},
                             {wake.get(), POLLIN, 0},
                             {input_write.get(), POLLOUT, 0}};
            const nfds_t count = input_write.get() >= 0 ? 3 : 2;
            if (stop_.stop_requested()) {
                stopped = true;
                break;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                timed_out = true;
                break;
            }
            // Look at the program itself now and then: a mail program may leave a delivery
            // process behind that keeps the output pipe open after it has taken the mail.
            const int ready =
                ::poll(fds, count, static_cast<int>(std::min<int64_t>(left.count(), 250)));
            if (ready < 0 && errno == EINTR) {
                continue;
            }
            if (ready < 0) {
                break;
            }
            if (count == 3 && fds[2].revents != 0) {
                const ssize_t n = ::write(input_write.get(), mail.text.data() + written,
                                          mail.text.size() - written);
                if (n > 0) {
                    written += static_cast<size_t>(n);
                }
                // A program that stopped reading has said why on its output.
                if ((n < 0 && errno != EAGAIN && errno != EINTR) || written == mail.text.size()) {
                    input_write.Close();
                }
            }
            if (fds[0].revents != 0) {
                char buffer[4096];
                const ssize_t n = ::read(output_read.get(), buffer, sizeof buffer);
                if (n > 0) {
                    report.append(buffer, static_cast<size_t>(n));
                } else if (n == 0 || (errno != EINTR && errno != EAGAIN)) {
                    output_read.Close();
                }
            }
            if (::waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                char buffer[4096];
                ssize_t n = 0;
                while (output_read.get() >= 0 &&
                       (n = ::read(output_read.get(), buffer, sizeof buffer)) > 0) {
                    report.append(buffer, static_cast<size_t>(n));
                }
                break;
            }
        }
        input_write.Close();
    }
    if ((timed_out || stopped) && !exited) {
        ::kill(pid, SIGKILL);
    }
    while (!exited && ::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (stopped && !exited) {
        return Delivery::TryLater(kMailStoppedAtEnd);
    }
    if (timed_out) {
        return Delivery::TryLater("The mail service " + program_ + " did not finish within " +
                                  std::to_string(kDeadline.count()) + " seconds and was stopped.");
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        report = TrimEnd(report);
        std::string why = "The mail service " + program_ + " failed (" + Describe(status) + ")" +
                          (report.empty() ? std::string(".") : ": " + report);
        // The exit codes of sysexits.h that say an address is bad (EX_DATAERR, as msmtp gives
        // for a refused recipient, EX_NOUSER, EX_NOHOST): the same mail would fail again.
        const bool bad_address =
            WIFEXITED(status) &&
            (WEXITSTATUS(status) == 65 || WEXITSTATUS(status) == 67 || WEXITSTATUS(status) == 68);
        return bad_address ? Delivery::Refused(std::move(why)) : Delivery::TryLater(std::move(why));
    }
    return Delivery::Sent();
}

}  // namespace pesterly
