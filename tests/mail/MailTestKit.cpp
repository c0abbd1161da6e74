#include "MailTestKit.h"

#include <arpa/inet.h>
#include <gmime/gmime.h>
#include <netinet/in.h>
#include <poll.h>
#include <strings.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

namespace pesterly::testing {
namespace {

std::string Slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

SmtpSink::SmtpSink() {
    const char* port = std::getenv("PESTERLY_SMTP_PORT");
    const char* folder = std::getenv("PESTERLY_SMTP_OUT");
    if (port == nullptr || folder == nullptr) {
        return;
    }
    port_ = std::atoi(port);
    folder_ = folder;
    while (std::filesystem::exists(Stored(next_))) {
        ++next_;
    }
}

std::string SmtpSink::Stored(int number) const {
    return folder_ + "/" + std::to_string(number) + ".envelope";
}

std::optional<SmtpSink::Delivery> SmtpSink::NextDelivery() {
    const std::string envelope_path = Stored(next_);
    for (int waited = 0; !std::filesystem::exists(envelope_path); waited += 20) {
        if (waited > 10000) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    Delivery delivery;
    delivery.raw = Slurp(folder_ + "/" + std::to_string(next_++) + ".eml");
    std::istringstream envelope(Slurp(envelope_path));
    std::string line;
    while (std::getline(envelope, line)) {
        if (line.starts_with("from ")) {
            delivery.mail_from = line.substr(5);
        } else if (line.starts_with("rcpt ")) {
            delivery.rcpt_tos.push_back(line.substr(5));
        }
    }
    return delivery;
}

bool SmtpSink::StoredAny() const {
    return std::filesystem::exists(Stored(next_));
}

bool SmtpSink::SawLogin() const {
    return std::filesystem::exists(folder_ + "/login");
}

bool ParsedMail::HasHeader(const std::string& name) const {
    return std::ranges::any_of(header_names, [&](const std::string& header) {
        return strcasecmp(header.c_str(), name.c_str()) == 0;
    });
}

ParsedMail ParseMail(const std::string& raw) {
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
    if (const char* subject = g_mime_message_get_subject(message)) {
        mail.subject = subject;
    }
    if (char* to = internet_address_list_to_string(g_mime_message_get_to(message), nullptr, 0)) {
        mail.to = to;
        g_free(to);
    }
    GMimeHeaderList* headers = g_mime_object_get_header_list(GMIME_OBJECT(message));
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        mail.header_names.push_back(
            g_mime_header_get_name(g_mime_header_list_get_header_at(headers, i)));
    }
    GMimeObject* body = g_mime_message_get_mime_part(message);
    if (body != nullptr && GMIME_IS_TEXT_PART(body)) {
        GMimeTextPart* part = GMIME_TEXT_PART(body);
        if (const char* charset = g_mime_text_part_get_charset(part)) {
            mail.charset = charset;
        }
        // Undo the transfer encoding only, so that the bytes are compared as sent.
        GMimeStream* decoded = g_mime_stream_mem_new();
        g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(part)), decoded);
        GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(decoded));
        const std::string text(reinterpret_cast<const char*>(bytes->data), bytes->len);
        for (size_t i = 0; i < text.size(); ++i) {  // CR LF becomes LF
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
                mail.text += text[i];
            }
        }
        g_object_unref(decoded);
        mail.ok = true;
    }
    g_object_unref(message);
    return mail;
}

TempFolder::TempFolder() {
    char folder[] = "/tmp/pesterly-test-XXXXXX";
    if (mkdtemp(folder) != nullptr) {
        path_ = folder;
    }
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string TempFolder::Write(const std::string& name, const std::string& text, int mode) const {
    const std::string path = path_ + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    chmod(path.c_str(), static_cast<mode_t>(mode));
    return path;
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        old_ = old;
    }
    if (value != nullptr) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
}

ScopedEnv::~ScopedEnv() {
    if (old_) {
        setenv(name_.c_str(), old_->c_str(), 1);
    } else {
        unsetenv(name_.c_str());
    }
}

ClosedPort::ClosedPort(Mode mode) {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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

bool ClosedPort::ClientWaiting() const {
    pollfd waiting{fd_, POLLIN, 0};
    return poll(&waiting, 1, 10000) == 1;
}

ClosedPort::~ClosedPort() {
    if (fd_ >= 0) {
        close(fd_);
    }
}

}  // namespace pesterly::testing
