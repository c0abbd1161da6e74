#pragma once

// What the mail tests need: a real SMTP server, a mail reader, a private folder, an
// environment variable for one scope and a port that refuses connections.

#include <arpa/inet.h>
// GLib names a member "signals", which Qt defines as a word of its own.
#pragma push_macro("signals")
#undef signals
#include <gmime/gmime.h>
#pragma pop_macro("signals")
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace pesterly::testing {

inline std::string Slurp(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Whether text, a message to the user, holds every one of the words.
template <typename Words = std::initializer_list<std::string_view>>
::testing::AssertionResult Says(const std::string& text, const Words& words) {
    for (const std::string_view word : words) {
        if (text.find(word) == std::string::npos) {
            return ::testing::AssertionFailure() << "no \"" << word << "\" in: " << text;
        }
    }
    return ::testing::AssertionSuccess();
}

// The real SMTP server on 127.0.0.1 that runs the mail tests (tests/e2e/smtp_sink.py --run),
// found through PESTERLY_SMTP_PORT and PESTERLY_SMTP_OUT. It refuses kRefusedAddress with 550
// and takes any login without TLS, as a careless server would. Sees the mails stored after it
// was made.
class SmtpSink {
  public:
    static constexpr const char* kRefusedAddress = "nobody@nowhere.example";
    struct Delivery {
        std::string mail_from;
        std::vector<std::string> rcpt_tos;  // sorted
        std::string raw;
    };

    SmtpSink() {
        const char* port = std::getenv("PESTERLY_SMTP_PORT");
        const char* folder = std::getenv("PESTERLY_SMTP_OUT");
        if (port == nullptr || folder == nullptr) {
            ADD_FAILURE() << "run the mail tests through smtp_sink.py --run";
        } else {
            port_ = std::atoi(port);
            folder_ = folder;
        }
        while (StoredAny()) {
            ++next_;
        }
    }
    int Port() const { return port_; }
    bool StoredAny() const { return Exists(std::to_string(next_) + ".envelope"); }
    bool SawLogin() const { return Exists("login"); }

    // Waits, at most a few seconds, for the server to store the next message.
    std::optional<Delivery> NextDelivery() {
        for (int waited = 0; !StoredAny(); waited += 20) {
            if (waited > 10000) {
                return std::nullopt;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        const std::string stored = folder_ + "/" + std::to_string(next_++);
        Delivery delivery{{}, {}, Slurp(stored + ".eml")};
        std::istringstream envelope(Slurp(stored + ".envelope"));
        // An address may hold a blank ("john doe"@example.org): it is the rest of the line.
        for (std::string line; std::getline(envelope, line);) {
            const std::string address = line.substr(line.find(' ') + 1);
            (line.starts_with("from ") ? delivery.mail_from : delivery.rcpt_tos.emplace_back()) =
                address;
        }
        std::ranges::sort(delivery.rcpt_tos);
        return delivery;
    }

  private:
    bool Exists(const std::string& name) const {
        return std::filesystem::exists(folder_ + "/" + name);
    }

    int port_ = 0;
    std::string folder_ = "/nonexistent";
    int next_ = 0;
};

// A received message read back the way a mail reader would: decoded subject and text.
struct ParsedMail {
    std::string subject;      // decoded
    std::string to;           // the To header, decoded
    std::string text;         // the body, transfer encoding undone, lines ending in LF
    std::string raw_headers;  // everything before the first empty line, as received

    bool HasHeader(const std::string& name) const {
        return strcasestr(("\n" + raw_headers).c_str(), ("\n" + name + ":").c_str()) != nullptr;
    }
};

inline ParsedMail ParseMail(const std::string& raw) {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
    ParsedMail mail;
    mail.raw_headers = raw.substr(0, std::min(raw.find("\r\n\r\n"), raw.find("\n\n")));
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(raw.data(), raw.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (message == nullptr) {
        return mail;
    }
    const char* subject = g_mime_message_get_subject(message);
    mail.subject = subject != nullptr ? subject : "";
    char* to = internet_address_list_to_string(g_mime_message_get_to(message), nullptr, 0);
    mail.to = to != nullptr ? to : "";
    g_free(to);
    GMimeObject* body = g_mime_message_get_mime_part(message);
    if (body != nullptr && GMIME_IS_TEXT_PART(body)) {
        // Undo the transfer encoding only, so that the bytes are compared as sent.
        GMimeStream* decoded = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(body)), decoded);
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded));
        mail.text.assign(reinterpret_cast<const char*>(bytes->data), bytes->len);
        for (size_t at = 0; (at = mail.text.find("\r\n", at)) != std::string::npos;) {
            mail.text.erase(at, 1);  // CR LF becomes LF
        }
        g_object_unref(decoded);
    }
    g_object_unref(message);
    return mail;
}

// A folder of its own, removed with everything in it when the object goes.
struct TempFolder : QTemporaryDir {
    std::string Path() const { return path().toStdString(); }
    std::string Write(const std::string& name, const std::string& text, int mode = 0644) const {
        const std::string file = Path() + "/" + name;
        std::ofstream(file, std::ios::binary) << text;
        std::filesystem::permissions(file, static_cast<std::filesystem::perms>(mode));
        return file;
    }
};

// Sets an environment variable for one scope (unsets it for nullptr) and restores the old value.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_.c_str(), old_->c_str(), 1) : unsetenv(name_.c_str()); }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// A TCP port on 127.0.0.1 that refuses every connection (bound, never listening), or with
// kSilent takes connections and never says a word, like a hung server.
class ClosedPort {
  public:
    enum Mode { kRefuse, kSilent };
    explicit ClosedPort(Mode mode = kRefuse) : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (fd_ >= 0 && bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0 &&
            (mode == kRefuse || listen(fd_, 4) == 0)) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~ClosedPort() { close(fd_); }
    int Port() const { return port_; }
    // Waits, at most a few seconds, for a client to connect to a silent port.
    bool ClientWaiting() const {
        pollfd waiting{fd_, POLLIN, 0};
        return poll(&waiting, 1, 10000) == 1;
    }

  private:
    int fd_ = -1;
    int port_ = 0;
};

}  // namespace pesterly::testing
