#pragma once

#include <map>
#include <string>
#include <vector>

#include "store/SettingsStore.h"

namespace pesterly::testing {

// A settings store in memory, with names matched without regard to case.
class MemorySettingsStore : public SettingsStore {
  public:
    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view default_value) override;
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override;
    MaybeError Commit() override;
    std::variant<std::string, Error> KeepRescueCopy() override;
    bool HasSetting(std::string_view section, std::string_view key) const override;
    void RemoveSetting(std::string_view section, std::string_view key) override;

    int commits = 0;
    // Makes the next Commit fail with this message.
    std::string fail_next_commit;
    // The values as each rescue copy held them.
    std::vector<std::map<std::string, std::string>> rescues;

  private:
    std::map<std::string, std::string> values_;  // lower-case "section/key"
};

}  // namespace pesterly::testing
