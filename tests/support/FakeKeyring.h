#pragma once

#include <map>
#include <string>

#include "platform/PasswordKeyring.h"

namespace pesterly::testing {

// A keyring in memory; `available` false plays a desktop without a keyring service.
class FakeKeyring : public PasswordKeyring {
  public:
    bool Available() override { return available; }
    Result<std::string> Read(const std::string& account) override {
        const auto found = passwords.find(account);
        return found == passwords.end() ? std::string() : found->second;
    }
    Result<void> Write(const std::string& account, const std::string& password) override {
        password.empty() ? void(passwords.erase(account)) : void(passwords[account] = password);
        return {};
    }

    bool available = true;
    std::map<std::string, std::string> passwords;
};

}  // namespace pesterly::testing
