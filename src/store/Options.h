#pragma once

#include <string>

#include "store/DateValue.h"

namespace pesterly {

enum class MailMethod { kSendmail, kSmtp };
// How the connection to the server is encrypted: upgraded with STARTTLS, TLS from the first
// byte, or not at all.
enum class MailSecurity { kStartTls, kTls, kNone };

// The "Mail" section: how nag mail leaves the machine. A file without the section sends
// through the system's sendmail program from the automatic sender address. The password is
// never part of it: it lives in the desktop's keyring.
struct MailServerSettings {
    MailMethod method = MailMethod::kSendmail;
    std::string host;
    // As typed; empty means the usual port for the security chosen.
    std::string port;
    MailSecurity security = MailSecurity::kStartTls;
    std::string user;
    // Empty means the automatic sender address.
    std::string from;

    bool operator==(const MailServerSettings&) const = default;
};

// Everything the user chooses about how Pesterly behaves, as one value. It is read and
// written by ReadOptions and WriteOptions (store/SettingsLayout.h), the only places that know
// its keys; the dialogs edit a copy and hand it back. A new option is a field here and a line
// in each of those two.
struct Options {
    DateValue CheckDate;  // the calendar date of the last daily review
    DateValue CheckTime;  // the time of day after which the review is due
    // Whether Pesterly keeps a desktop entry that starts it at login. On unless the user
    // turned it off: a reminder program that is not running reminds nobody.
    bool StartAtLogin = true;
    // Where the events are also kept as an iCalendar file; empty for none.
    std::string CalendarFile;
    MailServerSettings Mail;

    bool operator==(const Options&) const = default;
};

}  // namespace pesterly
