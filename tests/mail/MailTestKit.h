#pragma once

// What the mail tests need: a real SMTP server, a mail reader, a private folder, an
// environment variable for one scope and a port that refuses connections.

#include <optional>
#include <string>
#include <vector>

namespace pesterly::testing {

// The real SMTP server on 127.0.0.1 that runs the mail tests (tests/e2e/smtp_sink.py --run),
// found through PESTERLY_SMTP_PORT and PESTERLY_SMTP_OUT. It refuses kRefusedAddress with 550
// and takes any login without TLS, as a careless server would. Sees the mails stored after it
// was made.
class SmtpSink {
  public:
    static constexpr const char* kRefusedAddress = "nobody@nowhere.example";
    struct Delivery {
        std::string mail_from;
        std::vector<std::string> rcpt_tos;
        std::string raw;
    };

    SmtpSink();
    // False when the tests were not started by the server; the reason is in Problem().
    bool Running() const { return port_ > 0; }
    std::string Problem() const { return "run the mail tests through smtp_sink.py --run"; }
    int Port() const { return port_; }
    std::string Url() const { return "smtp://127.0.0.1:" + std::to_string(port_); }

    // Waits, at most a few seconds, for the server to store the next message.
    std::optional<Delivery> NextDelivery();
    bool StoredAny() const;
    bool SawLogin() const;

  private:
    std::string Stored(int number) const;

    int port_ = 0;
    std::string folder_;
    int next_ = 0;
};

// A received message read back the way a mail reader would: decoded subject and text.
struct ParsedMail {
    bool ok = false;          // the body is one text part
    std::string subject;      // decoded
    std::string to;           // the To header, decoded
    std::string text;         // the body, transfer encoding undone, lines ending in LF
    std::string charset;      // of the body
    std::string raw_headers;  // everything before the first empty line, as received
    std::vector<std::string> header_names;

    bool HasHeader(const std::string& name) const;
};

ParsedMail ParseMail(const std::string& raw);

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

// Sets an environment variable for one scope (unsets it for nullptr) and restores the old value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// A TCP port on 127.0.0.1 that refuses every connection (bound, never listening), or with
// kSilent takes connections and never says a word, like a hung server.
class ClosedPort {
  public:
    enum Mode { kRefuse, kSilent };
    explicit ClosedPort(Mode mode = kRefuse);
    // Waits, at most a few seconds, for a client to connect to a silent port.
    bool ClientWaiting() const;
    ~ClosedPort();
    ClosedPort(const ClosedPort&) = delete;
    ClosedPort& operator=(const ClosedPort&) = delete;
    int Port() const { return port_; }

  private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace pesterly::testing
