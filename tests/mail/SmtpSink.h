#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace pesterly::testing {

// A real SMTP server on 127.0.0.1 (tests/e2e/smtp_sink.py), started for one test and stopped
// with it. It refuses the address given as `reject` with 550.
class SmtpSink {
  public:
    struct Delivery {
        std::string mail_from;
        std::vector<std::string> rcpt_tos;
        std::string raw;
    };

    explicit SmtpSink(const std::string& reject = "");
    ~SmtpSink();
    SmtpSink(const SmtpSink&) = delete;
    SmtpSink& operator=(const SmtpSink&) = delete;

    // Empty when the server failed to start; the reason is in Problem().
    bool Running() const { return port_ > 0; }
    const std::string& Problem() const { return problem_; }
    int Port() const { return port_; }
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

    // Waits, at most a few seconds, for the server to report message `number` stored.
    bool WaitForDelivery(int number);
    Delivery Read(int number) const;
    // Messages stored so far, as the server's folder shows them.
    int StoredCount() const;

  private:
    bool ReadLine(std::string& line, int timeout_ms);

    pid_t pid_ = -1;
    int to_server_ = -1;
    int from_server_ = -1;
    int port_ = 0;
    std::string folder_;
    std::string pending_;
    std::string problem_;
};

// A folder under /tmp, removed with everything in it when the object goes.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::string& Path() const { return path_; }
    std::string Write(const std::string& name, const std::string& text, int mode = 0644) const;

  private:
    std::string path_;
};

// Sets an environment variable for one scope and restores the old value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};

// A TCP port on 127.0.0.1 that refuses every connection: bound, never listening.
class ClosedPort {
  public:
    ClosedPort();
    ~ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    int Port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace pesterly::testing
