#pragma once

#include "platform/PasswordKeyring.h"

namespace pesterly {

// The keyring of the Secret Service (GNOME Keyring, KeePassXC, KWallet's bridge) through
// QtKeychain. Each call waits for the service's answer, with the program's events running.
class SecretServiceKeyring : public PasswordKeyring {
  public:
    bool Available() override;
    Result<std::string> Read(const std::string& account) override;
    Result<void> Write(const std::string& account, const std::string& password) override;
};

}  // namespace pesterly
