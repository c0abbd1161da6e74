#pragma once

#include <string>

#include "store/Error.h"

namespace pesterly {

// The desktop's keyring, which keeps the mail server's password out of the settings file.
// Accounts are named by MailAccountName.
class PasswordKeyring {
  public:
    virtual ~PasswordKeyring() = default;

    // Whether a keyring service runs in this desktop session; without one nothing is stored
    // and ~/.netrc is the place for a password.
    virtual bool Available() = 0;
    // The stored password, or an empty text when the keyring holds none for the account.
    virtual Result<std::string> Read(const std::string& account) = 0;
    // Stores the password; an empty one removes what the keyring holds for the account.
    virtual Result<void> Write(const std::string& account, const std::string& password) = 0;
};

}  // namespace pesterly
