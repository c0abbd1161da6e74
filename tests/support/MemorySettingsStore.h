#pragma once

#include <cctype>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "store/SettingsStore.h"

namespace pesterly::testing {

// A settings store in memory, with names matched without regard to case.
class MemorySettingsStore : public SettingsStore {
  public:
    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view default_value) override {
        const auto found = values_.find(Name(section, key));
        return found == values_.end() ? std::string(default_value) : found->second;
    }
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override {
        values_[Name(section, key)] = std::string(value);
    }
    Result<void> Commit() override {
        if (!fail_next_commit.empty()) {
            return Error{std::exchange(fail_next_commit, {})};
        }
        ++commits;
        return {};
    }
    Result<std::string> KeepRescueCopy() override {
        rescues.push_back(values_);
        return "rescue copy " + std::to_string(rescues.size());
    }
    Result<std::string> KeepDamagedCopy() override {
        return "damaged copy " + std::to_string(++damaged_copies);
    }
    bool HasSetting(std::string_view section, std::string_view key) const override {
        return values_.count(Name(section, key)) != 0;
    }
    void RemoveSetting(std::string_view section, std::string_view key) override {
        values_.erase(Name(section, key));
    }

    int commits = 0;
    // Makes the next Commit fail with this message.
    std::string fail_next_commit;
    // The values as each rescue copy held them.
    std::vector<std::map<std::string, std::string>> rescues;
    int damaged_copies = 0;

  private:
    static std::string Name(std::string_view section, std::string_view key) {
        std::string name = std::string(section) + "/" + std::string(key);
        for (char& c : name) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return name;
    }

    std::map<std::string, std::string> values_;  // lower-case "section/key"
};

}  // namespace pesterly::testing
