#include "SampleTable.h"

#include <array>
#include <string>

namespace pesterly::bench {
namespace {

constexpr std::array<const char*, 5> kCategories = {"Home", "Work", "Family", "Health", "Money"};

constexpr std::array<const char*, 12> kChores = {
    "Renew the car insurance",
    "Pay the electricity bill",
    "Call Grandma Müller about the \"big birthday\"",
    "Water the plants on the balcony",
    "Back up the photo archive to the external disk",
    "Dentist: book the yearly check-up",
    "Send the quarterly report to Ana",
    "Change the smoke detector batteries",
    "Take the recycling out",
    "Order contact lenses",
    "Review the family budget spreadsheet",
    "Café with Zoë, bring her book back",
};

constexpr std::array<const char*, 3> kAddresses = {"me@example.org", "partner@example.net",
                                                   "office@example.com"};

}  // namespace

Database SampleTable() {
    Database db;
    for (const char* name : kCategories) {
        db.AppendCategory(name);
    }
    const DateValue today = kReviewDay.DatePart();
    for (int n = 0; n < Database::kSlots; ++n) {
        Happening h;
        h.Desc = std::string(kChores[n % kChores.size()]) + " (" + std::to_string(n + 1) + ")";
        h.Repeat = static_cast<int16_t>(n % 5);
        h.EventDate = DateValue::Compose(2025, 1 + n % 12, 1 + n % 28, 8 + n % 10, 0, 0);
        if (h.Repeat != kRepeatOneTime) {
            // Last done more than a year ago, so every repeat rule has come round again.
            h.DoneDate = today.AddDays(-400 - n);
        }
        h.Category = static_cast<int16_t>(n % (kCategories.size() + 1));
        if (n % 4 == 1) {
            h.SendMail = true;
            h.UseNagList = n % 3 == 0;
            h.SpecialEmail = kAddresses[n % kAddresses.size()];
            h.EmailBody = "Hello,\n\nthis is your reminder: " + h.Desc +
                          ".\nIt has been put off for a while now.\n\n-- Pesterly";
        }
        db.AppendHappening(h);
    }
    db.options.CheckDate = today.AddDays(-1);
    db.options.CheckTime = DateValue::TimeOfDay(8, 0, 0);
    return db;
}

}  // namespace pesterly::bench
