#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/Error.h"

namespace pesterly {

// The per-user settings store: texts under a section and a key, both matched without regard
// to case. There is no enumeration: keys of slots no longer in use stay behind.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    // The stored text, or default_value when the key or its section does not exist.
    virtual std::string GetSetting(std::string_view section, std::string_view key,
                                   std::string_view default_value) = 0;
    // Creates or replaces the value. It is visible to the next GetSetting at once; it reaches
    // permanent storage at the next Commit.
    virtual void SaveSetting(std::string_view section, std::string_view key,
                             std::string_view value) = 0;
    virtual bool HasSetting(std::string_view section, std::string_view key) const = 0;
    // Takes the key away, as if it had never been saved; nothing when it does not exist.
    virtual void RemoveSetting(std::string_view section, std::string_view key) = 0;
    // Makes every saved value permanent, all at once.
    virtual Result<void> Commit() = 0;
    // For an end that nobody can be asked about, after Commit failed: keeps every value in a
    // copy elsewhere, where it can be written. Where the copy went, or why it could not be kept.
    virtual Result<std::string> KeepRescueCopy() = 0;
    // For values that could not be loaded as they are: keeps the stored data as it was read at
    // start beside it, whatever later saves do. Where the copy is, or why it could not be kept.
    virtual Result<std::string> KeepDamagedCopy() = 0;
};

// Saves the values into the section and commits them. When the commit fails, the section's
// keys are put back as they were, so that values the user then cancels never reach the file at
// a later save either.
Result<void> SaveSectionOrRestore(SettingsStore& store, std::string_view section,
                                  const std::vector<std::pair<std::string, std::string>>& values);

}  // namespace pesterly
