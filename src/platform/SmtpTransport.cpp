#include "platform/SmtpTransport.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>

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

std::string UrlPart(CURLU* url, CURLUPart part) {
    char* raw = nullptr;
    if (curl_url_get(url, part, &raw, 0) != CURLUE_OK || raw == nullptr) {
        return {};
    }
    std::unique_ptr<char, CurlFree> owned(raw);
    return owned.get();
}

// Whether ~/.netrc holds a login for the host (or a default one), as libcurl would use it.
bool NetrcHasLogin(const std::string& host) {
    const char* home = std::getenv("HOME");
    if (home == nullptr || *home == '\0') {
        return false;
    }
    std::ifstream file(std::string(home) + "/.netrc");
    std::string token;
    bool in_entry = false;
    while (file >> token) {
        if (token == "default") {
            in_entry = true;
        } else if (token == "machine") {
            std::string name;
            file >> name;
            in_entry = name == host;
        } else if (in_entry && token == "login") {
            return true;
        }
    }
    return false;
}

// The first command the server refused, with its answer, so that a failure can say which
// address or step it was; curl's own message names only the kind of command.
struct Dialogue {
    std::string last_command;
    std::string refused_command;
    std::string refusal;
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
    } else if (type == CURLINFO_HEADER_IN && size > 0 && (data[0] == '4' || data[0] == '5') &&
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

MaybeError SmtpTransport::CheckReady() {
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
    has_credentials_ = !UrlPart(url.get(), CURLUPART_USER).empty() || NetrcHasLogin(host_);
    return std::nullopt;
}

MaybeError SmtpTransport::Deliver(const ComposedMail& mail) {
    // Without recipients libcurl sends HELP and reports success having sent nothing.
    if (mail.envelope_recipients.empty()) {
        return Error{"The mail has no recipient."};
    }
    if (host_.empty()) {
        if (MaybeError error = CheckReady()) {
            return error;
        }
    }
    std::unique_ptr<CURL, EasyFree> easy(curl_easy_init());
    if (!easy) {
        return Error{"Cannot start a mail connection (libcurl failed to initialise)."};
    }
    curl_slist* raw_list = nullptr;
    for (const std::string& address : mail.envelope_recipients) {
        curl_slist* longer = curl_slist_append(raw_list, ("<" + address + ">").c_str());
        if (longer == nullptr) {
            curl_slist_free_all(raw_list);
            return Error{"Out of memory while preparing the mail."};
        }
        raw_list = longer;
    }
    std::unique_ptr<curl_slist, ListFree> recipients(raw_list);
    const std::string sender = "<" + mail.sender + ">";
    Upload upload{&mail.text};
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
    // A password must never cross the network in plain text.
    curl_easy_setopt(c, CURLOPT_USE_SSL,
                     static_cast<long>(has_credentials_ ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, sender.c_str());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, recipients.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &ReadChunk);
    curl_easy_setopt(c, CURLOPT_READDATA, &upload);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(mail.text.size()));
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &Record);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, &dialogue);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);

    const CURLcode code = curl_easy_perform(c);
    if (code == CURLE_OK) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << "Sending the mail through " << host_ << " failed: ";
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
    return Error{text.str()};
}

}  // namespace pesterly
