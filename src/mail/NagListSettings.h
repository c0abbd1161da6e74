#pragma once

#include <string>
#include <vector>

#include "store/Error.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The nag list as its editor shows and saves it: the addresses in the order they were added,
// and whether they go in the To line or as blind copies behind one visible To address.
struct NagListSettings {
    std::vector<std::string> entries;
    std::string to_address;
    bool use_to = true;
};

// A damaged "EmailCount" could otherwise make the editor read tens of thousands of keys.
inline constexpr int kNagListMostEntries = 1000;

// Reads the "NagList" section with the editor's defaults: no entries, an entry key that is
// missing below the count shows as "0", an empty To address, and To-line addressing. A count
// that is not a number reads as 0, and at most kNagListMostEntries entries are read.
NagListSettings LoadNagListForEditor(SettingsStore& store);

// Writes the whole section and commits it: the count in plain decimal, each entry without
// leading and trailing blanks, the To address exactly as typed, and the choice as a flag.
// Keys of entries beyond the new count stay in the store; every reader stops at the count.
// When the commit fails, the store is left as it was before the call.
MaybeError SaveNagList(SettingsStore& store, const NagListSettings& settings);

}  // namespace pesterly
