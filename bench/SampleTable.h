#pragma once

#include "store/Database.h"
#include "store/DateValue.h"

namespace pesterly::bench {

// The day the sample table is reviewed on.
inline const DateValue kReviewDay = DateValue::Compose(2026, 12, 7, 9, 30, 0);

// A full table as a long-time user would have it: 101 events of every repeat rule, all of
// them due on kReviewDay, a quarter asking for nag mail with a mail body of a few lines, a few
// with quotes and accented letters, and five categories.
Database SampleTable();

}  // namespace pesterly::bench
