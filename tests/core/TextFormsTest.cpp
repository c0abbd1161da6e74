#include "store/TextForms.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace pesterly::forms {
namespace {

TEST(TextForms, WholeNumberNeedsTheWholeTextLeadingNumberReadsAsFarAsItCan) {
    // Halves go to the even neighbour; beyond what a double holds is held to the range.
    const std::pair<const char*, std::optional<int>> whole[] = {
        {" 3", 3},        {"  101  ", 101},   {"-2", -2},       {"2.5", 2}, {"3.5", 4},
        {"99999", 32767}, {"abc", {}},        {"3 events", {}}, {"", {}},   {".", {}},
        {"1e400", 32767}, {"-1e400", -32768}, {"+1e-400", 0}};
    EXPECT_EQ(ParseWholeNumber("0." + std::string(400, '0') + "1"), 0);
    for (const auto& [text, want] : whole) {
        EXPECT_EQ(ParseWholeNumber(text), want) << text;
    }
    const std::pair<const char*, int> leading[] = {
        {"3", 3},    {"  3abc", 3}, {"abc", 0},  {"", 0},   {"0.5", 0},        {"1.5", 2},
        {"2.5x", 2}, {"-1.5", -2},  {"1e1", 10}, {"7e", 7}, {"-40000", -32768}};
    for (const auto& [text, want] : leading) {
        EXPECT_EQ(LeadingNumber(text), want) << text;
    }
}

// The forms the program writes (marked true) read back, and so do the forms a person might type;
// what is not a date reads as none.
TEST(TextForms, ParsesTheFormsAPersonMightType) {
    const DateValue pi_day = DateValue::Compose(2001, 3, 14);
    const DateValue afternoon = DateValue::Compose(2001, 3, 14, 14, 5, 9);
    const DateValue eight = DateValue::TimeOfDay(8, 0, 0);
    const struct {
        const char* text;
        DateValue want;
        bool written;
    } cases[] = {
        {"3/14/2001", pi_day, true},
        {"3/14/2001 2:05:09 PM", afternoon, true},
        {"3/14/2001 12:00:01 AM", DateValue::Compose(2001, 3, 14, 0, 0, 1), true},
        {"8:00:00 AM", eight, true},
        {"12:30:00 PM", DateValue::TimeOfDay(12, 30, 0), true},
        {"12:00:00 AM", DateValue(), true},
        {" 3/14/2001 ", pi_day, false},
        {"03/14/2001", pi_day, false},
        {"3/14/01", pi_day, false},
        {"3-14-2001", pi_day, false},
        {"2001-03-14", pi_day, false},
        {"2001/3/14", pi_day, false},
        {"March 14, 2001", pi_day, false},
        {"Mar 14 2001", pi_day, false},
        {"14 Mar 2001", pi_day, false},
        {"3/14/2001 2:05:09PM", afternoon, false},
        {"2001-03-14 17:05:09", DateValue::Compose(2001, 3, 14, 17, 5, 9), false},
        {"8:00:00AM", eight, false},
        {"8:00 am", eight, false},
        {"12:15 PM", DateValue::TimeOfDay(12, 15, 0), false},
        {"20:15", DateValue::TimeOfDay(20, 15, 0), false},
        {"1/1/30", DateValue::Compose(1930, 1, 1), false},
        {"1/1/29", DateValue::Compose(2029, 1, 1), false},
    };
    for (const char* text : {"", "   ", "yesterday", "2/30/2001", "13/1/2001", "3/14", "25:00",
                             "8:61", "13:00 PM", "3/14/2001 8", "3/14/2001 8:00 XM",
                             "3/14/2001 trailing", "99999/1/1", "1/1/12345", "0/0/0"}) {
        EXPECT_EQ(ParseGeneralDate(text), std::nullopt) << text;
    }
    for (const auto& c : cases) {
        EXPECT_EQ(ParseGeneralDate(c.text), c.want) << c.text;
        if (c.written) {
            EXPECT_EQ(GeneralDate(c.want), c.text);
        }
    }
    // Every written date reads back to the second.
    for (int64_t seconds = -86400 * 3; seconds < 86400LL * 80000; seconds += 86400 * 97 + 3671) {
        const DateValue value(seconds);
        EXPECT_EQ(ParseGeneralDate(GeneralDate(value)), value) << GeneralDate(value);
    }
}

}  // namespace
}  // namespace pesterly::forms
