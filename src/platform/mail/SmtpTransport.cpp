#include "platform/mail/SmtpTransport.h"

#include <curl/curl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <sstream>
#include <stop_token>
#include <string_view>
#include <vector>

#include "platform/mail/Netrc.h"

namespace pesterly {
namespace {

constexpr long kConnectSeconds = 10;
constexpr long kTotalSeconds = 20;

void EnsureCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct UrlFree {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct CurlFree {
    void operator()(char* text) const { curl_free(text); }
};
struct EasyFree {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct ListFree {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct MultiFree {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// The sockets libcurl has open for one transfer. Shutting them down makes every later read
// or write fail at once: libcurl would otherwise say goodbye to a stopped server (QUIT) and
// wait for its answer for as long as the timeout allows.
struct OpenSockets {
    std::vector<curl_socket_t> sockets;

    static int Opened(void* self, curl_socket_t socket, curlsocktype) {
        static_cast<OpenSockets*>(self)->sockets.push_back(socket);
        return CURL_SOCKOPT_OK;
    }
    static int Closing(void* self, curl_socket_t socket) {
        std::erase(static_cast<OpenSockets*>(self)->sockets, socket);
        return ::close(socket);
    }
    void ShutDown() const {
        for (const curl_socket_t socket : sockets) {
            ::shutdown(socket, SHUT_RDWR);
        }
    }
};

// Runs the transfer until it ends or a stop is requested; a stop wakes the wait at once, so
// a server that never answers cannot hold the program's end for the whole timeout.
CURLcode PerformUnlessStopped(CURL* easy, const std::stop_token& stop, bool& stopped) {
    stopped = false;
    OpenSockets open;
    curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &OpenSockets::Opened);
    curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, &open);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, &OpenSockets::Closing);
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETDATA, &open);
    // Each mail has a connection of its own, closed with its transfer.
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    std::unique_ptr<CURLM, MultiFree> multi(curl_multi_init());
    if (!multi || curl_multi_add_handle(multi.get(), easy) != CURLM_OK) {
        return CURLE_OUT_OF_MEMORY;
    }
    CURLcode code = CURLE_OK;
    {
        std::stop_callback wake(stop, [m = multi.get()] { curl_multi_wakeup(m); });
        int running = 1;
        while (running > 0) {
            if (curl_multi_perform(multi.get(), &running) != CURLM_OK) {
                code = CURLE_SEND_ERROR;
                break;
            }
            if (running > 0 && stop.stop_requested()) {
                stopped = true;
                open.ShutDown();
                break;
            }
            if (running > 0 &&
                curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr) != CURLM_OK) {
                code = CURLE_RECV_ERROR;
                break;
            }
        }
    }
    int left = 0;
    while (const CURLMsg* message = curl_multi_info_read(multi.get(), &left)) {
        if (message->msg == CURLMSG_DONE && message->easy_handle == easy) {
            code = message->data.result;
        }
    }
    curl_multi_remove_handle(multi.get(), easy);
    multi.reset();  // closes the connection while `open` still listens
    curl_easy_setopt(easy, CURLOPT_CLOSESOCKETFUNCTION, nullptr);
    return code;
}

std::string UrlPart(CURLU* url, CURLUPart part, unsigned int flags = 0) {
    char* raw = nullptr;
    if (curl_url_get(url, part, &raw, flags) != CURLUE_OK || raw == nullptr) {
        return {};
    }
    std::unique_ptr<char, CurlFree> owned(raw);
    return owned.get();
}

// The first command the server refused, with its answer, so that a failure can say which
// address or step it was; curl's own message names only the kind of command.
struct Dialogue {
    std::string last_command;
    std::string refused_command;
    std::string refusal;
    // The last answer but the goodbye (221), which comes after the mail was taken or refused.
    std::string answer;
};

std::string Line(const char* data, size_t size) {
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

int Record(CURL*, curl_infotype type, char* data, size_t size, void* user) {
    auto* dialogue = static_cast<Dialogue*>(user);
    if (type == CURLINFO_HEADER_OUT) {
        std::string command = Line(data, size);
        // A login line carries the password.
        if (command.rfind("AUTH", 0) == 0 || dialogue->last_command.rfind("AUTH", 0) == 0) {
            command = "AUTH";
        }
        dialogue->last_command = command;
    } else if (type == CURLINFO_HEADER_IN && std::string_view(data, size).rfind("221", 0) != 0) {
        dialogue->answer = Line(data, size);
    }
    if (type == CURLINFO_HEADER_IN && size > 0 && (data[0] == '4' || data[0] == '5') &&
        dialogue->refusal.empty()) {
        dialogue->refused_command = dialogue->last_command;
        dialogue->refusal = Line(data, size);
    }
    return 0;
}

struct Upload {
    const std::string* text;
    size_t offset = 0;
};

size_t ReadChunk(char* buffer, size_t size, size_t count, void* user) {
    auto* upload = static_cast<Upload*>(user);
    const size_t n = std::min(size * count, upload->text->size() - upload->offset);
    std::memcpy(buffer, upload->text->data() + upload->offset, n);
    upload->offset += n;
    return n;
}

}  // namespace

Result<void> SmtpTransport::CheckReady() {
    EnsureCurl();
    std::unique_ptr<CURLU, UrlFree> url(curl_url());
    // The URL may hold a password: never repeat what stands before an "@".
    const size_t at = url_.rfind('@');
    const std::string shown = at == std::string::npos ? url_ : "..." + url_.substr(at);
    const std::string bad = "PESTERLY_MAIL_URL \"" + shown +
                            "\" is not a mail server address; use smtp://host:port or "
                            "smtps://host:port.";
    if (curl_url_set(url.get(), CURLUPART_URL, url_.c_str(), 0) != CURLUE_OK) {
        return Error{bad};
    }
    const std::string scheme = UrlPart(url.get(), CURLUPART_SCHEME);
    host_ = UrlPart(url.get(), CURLUPART_HOST);
    if ((scheme != "smtp" && scheme != "smtps") || host_.empty()) {
        return Error{bad};
    }
    if (!user_.empty()) {
        login_source_ = "the Mail Server settings";
    } else if (!UrlPart(url.get(), CURLUPART_USER).empty() ||
               !UrlPart(url.get(), CURLUPART_PASSWORD).empty()) {
        login_source_ = "PESTERLY_MAIL_URL";
    } else if (NetrcMayHoldLogin(host_) ||
               // libcurl may look a name with letters outside ASCII up in either form.
               NetrcMayHoldLogin(UrlPart(url.get(), CURLUPART_HOST, CURLU_PUNYCODE))) {
        login_source_ = "~/.netrc";
    } else {
        login_source_.clear();
    }
    return {};
}

// SMTP wants CR LF at the end of every line.
std::string WithCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

Delivery SmtpTransport::Deliver(const ComposedMail& mail) {
    // Without recipients libcurl sends HELP and reports success having sent nothing.
    if (mail.envelope_recipients.empty()) {
        return Delivery::Refused("The mail has no recipient.");
    }
    if (stop_.stop_requested()) {
        return Delivery::TryLater(kMailStoppedAtEnd);
    }
    if (host_.empty()) {
        if (const Result<void> ready = CheckReady(); !ready) {
            return Delivery::TryLater(ready.error().message);
        }
    }
    std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
    if (!easy) {
        return Delivery::TryLater("Cannot start a mail connection (libcurl failed to initialise).");
    }
    curl_slist* raw_list = nullptr;
    for (const std::string& address : mail.envelope_recipients) {
        curl_slist* longer = curl_slist_append(raw_list, ("<" + address + ">").c_str());
        if (longer == nullptr) {
            curl_slist_free_all(raw_list);
            return Delivery::TryLater("Out of memory while preparing the mail.");
        }
        raw_list = longer;
    }
    std::unique_ptr<curl_slist, ListFree> recipients(raw_list);
    const std::string sender = "<" + mail.sender + ">";
    const std::string text_out = WithCrLf(mail.text);
    Upload upload{&text_out};
    Dialogue dialogue;
    char message[CURL_ERROR_SIZE] = {};

    CURL* c = easy.get();
    curl_easy_setopt(c, CURLOPT_URL, url_.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, message);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectSeconds);
    curl_easy_setopt(c, CURLOPT_TIMEOUT, kTotalSeconds);
    curl_easy_setopt(c, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    // A password must never cross the network in plain text: whenever libcurl may log in,
    // the connection is encrypted or nothing is sent.
    const bool must_encrypt = require_encryption_ || !login_source_.empty();
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(must_encrypt ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    if (!user_.empty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, user_.c_str());
        curl_easy_setopt(c, CURLOPT_PASSWORD, password_.c_str());
    }
    if (!ca_file_.empty()) {
        curl_easy_setopt(c, CURLOPT_CAINFO, ca_file_.c_str());
    }
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, sender.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadChunk);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(text_out.size()));
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &Record);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &dialogue);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    bool stopped = false;
    const CURLcode code = PerformUnlessStopped(c, stop_, stopped);
    answer_ = dialogue.answer;
    if (stopped) {
        return Delivery::TryLater(kMailStoppedAtEnd);
    }
    if (code == CURLE_OK) {
        return Delivery::Sent();
    }
    std::ostringstream text;
    text << "Sending the mail through " << host_ << " failed: ";
    if (code == CURLE_USE_SSL_FAILED && !login_source_.empty()) {
        text << "the server offers no encrypted connection (STARTTLS), and the login for it "
                "(from "
             << login_source_
             << ") would have crossed the network as plain text. Nothing was sent to it, not "
                "even the password. Use the server's encrypted port (smtps://"
             << host_ << ":465) or remove the login for " << host_ << ".";
        return Delivery::TryLater(text.str());
    }
    const std::string& refused = dialogue.refused_command;
    const auto mentioned = [&refused] {
        const size_t open = refused.find('<');
        const size_t close = refused.find('>', open);
        return open == std::string::npos || close == std::string::npos
                   ? std::string()
                   : refused.substr(open + 1, close - open - 1);
    };
    if (refused.rfind("RCPT TO:", 0) == 0) {
        text << "the mail server refused the recipient " << mentioned() << ": " << dialogue.refusal;
    } else if (refused.rfind("MAIL FROM:", 0) == 0) {
        text << "the mail server refused the sender " << mentioned() << ": " << dialogue.refusal;
    } else {
        text << (message[0] != '\0' ? message : curl_easy_strerror(code));
        if (!dialogue.refusal.empty()) {
            text << " (the server answered \"" << dialogue.refusal << "\")";
        }
    }
    // A 5xx answer to a recipient or to the message itself is final; one to the sender or the
    // login is most often a setting the user can still put right.
    const bool final_answer = dialogue.refusal.starts_with("5") &&
                              (refused.starts_with("RCPT TO:") || refused.starts_with("DATA"));
    return final_answer ? Delivery::Refused(text.str()) : Delivery::TryLater(text.str());
}

}  // namespace pesterly
