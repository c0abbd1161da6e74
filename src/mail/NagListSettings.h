#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/Error.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The nag list: the addresses in the order they were added, and whether they go in the To
// line or as blind copies behind one visible To address. An entry below the count that was
// never stored, and a To address never saved, are told apart from empty ones.
struct NagListSettings {
    std::vector<std::optional<std::string>> entries;
    std::optional<std::string> to_address;
    bool use_to = true;
};

// A damaged "EmailCount" could otherwise make the editor read tens of thousands of keys.
inline constexpr int kNagListMostEntries = 1000;

// Reads the "NagList" section, for the editor and the mail alike: no entries and To-line
// addressing when nothing is stored; only the exact text "True" selects the To line. A count
// that is not a number reads as 0, and at most kNagListMostEntries entries are read.
NagListSettings ReadNagList(SettingsStore& store);

// Writes the whole section and commits it: the count in plain decimal, each entry without
// leading and trailing blanks, the To address exactly as typed (empty when never set), and the
// choice as a flag. Keys of entries beyond the new count stay in the store; every reader stops at
// the count. When the commit fails, the store is left as it was before the call.
Result<void> SaveNagList(SettingsStore& store, const NagListSettings& settings);

}  // namespace pesterly
