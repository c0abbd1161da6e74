#pragma once

#include <vector>

#include "store/Database.h"

namespace pesterly {

struct ImportSummary {
    std::vector<int> appended_slots;  // in the order the events were appended
    int duplicates_skipped = 0;
    int left_out = 0;  // new events that found the table full
};

// Appends the events of an exchange file to the table. An event whose description equals that
// of a live event (exactly: case and blanks count) is skipped, and so is a later event of the
// same file with a description already appended. Appended events never use the nag list,
// since the file does not carry that choice, and keep their category number as it is.
// The edit buffer is left alone. The grid rows of the appended slots are the caller's.
ImportSummary ImportHappenings(Database& db, const std::vector<Happening>& events);

}  // namespace pesterly
