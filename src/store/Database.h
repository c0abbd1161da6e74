#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "store/DateValue.h"
#include "store/Happening.h"
#include "store/Options.h"

namespace pesterly {

// The program's whole shared state: the event table, the category names, the working copy of
// one event that the editor and its callers pass around, and the user's options (the review
// date and time among them). One instance lives for the whole run and is handed to whoever needs
// it.
//
// Live events are slots 0 to HappeningCount - 1 without gaps. Slots at and above the count are
// never cleared: they keep whatever record they last held.
struct Database {
    static constexpr int kSlots = 101;
    // The add-category dialog stops at this many names, although one more slot exists.
    static constexpr int kCategoryAddLimit = 100;

    Happening EditBuffer;
    bool EditCancelled = false;
    std::array<Happening, kSlots> Happenings{};
    int16_t HappeningCount = 0;
    Options options;
    std::array<std::string, kSlots> Categories{};
    int16_t CategoryCount = 0;

    bool IsFull() const { return HappeningCount >= kSlots; }
    // Writes the record to slot HappeningCount and counts it; false when the table is full.
    bool AppendHappening(const Happening& happening);
    // Moves every later live record down one slot, in rising order, and lowers the count.
    // The slot that falls out of use keeps a copy of the record that was last.
    void RemoveHappening(int slot);
    // False while kCategoryAddLimit names are held.
    bool AppendCategory(const std::string& name);
    // The name a Category reference stands for: empty for 0 and for a reference that names no
    // slot of the table.
    const std::string& CategoryName(int reference) const;
};

}  // namespace pesterly
