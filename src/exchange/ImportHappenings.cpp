#include "exchange/ImportHappenings.h"

#include <algorithm>

namespace pesterly {

ImportSummary ImportHappenings(Database& db, const std::vector<Happening>& events) {
    ImportSummary summary;
    for (const Happening& event : events) {
        const auto live = db.Happenings.begin();
        const bool present = std::any_of(live, live + db.HappeningCount,
                                         [&](const Happening& h) { return h.Desc == event.Desc; });
        if (present) {
            ++summary.duplicates_skipped;
            continue;
        }
        Happening added = event;
        added.UseNagList = false;
        const int slot = db.HappeningCount;
        if (db.AppendHappening(added)) {
            summary.appended_slots.push_back(slot);
        } else {
            ++summary.left_out;
        }
    }
    return summary;
}

}  // namespace pesterly
