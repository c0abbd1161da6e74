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

TEST(TextForms, TrimBlanksRemovesSpacesOnly) {
    EXPECT_EQ(TrimBlanks("  buy milk  "), "buy milk");
    EXPECT_EQ(TrimBlanks("   "), "");
    EXPECT_EQ(TrimBlanks("\tx\n"), "\tx\n");
    EXPECT_EQ(TrimBlanks(" a  b "), "a  b");
}

TEST(TextForms, GeneralDateUsesUnitedStatesForms) {
    EXPECT_EQ(GeneralDate(DateValue::Compose(2001, 3, 14)), "3/14/2001");
    EXPECT_EQ(GeneralDate(DateValue::Compose(2001, 3, 14, 14, 5, 9)), "3/14/2001 2:05:09 PM");
    EXPECT_EQ(GeneralDate(DateValue::Compose(2001, 3, 14, 0, 0, 1)), "3/14/2001 12:00:01 AM");
    EXPECT_EQ(GeneralDate(DateValue::TimeOfDay(8, 0, 0)), "8:00:00 AM");
    EXPECT_EQ(GeneralDate(DateValue::TimeOfDay(12, 30, 0)), "12:30:00 PM");
    EXPECT_EQ(GeneralDate(DateValue()), "12:00:00 AM");
}

TEST(TextForms, ParsesTheFormsAPersonMightType) {
    const DateValue pi_day = DateValue::Compose(2001, 3, 14);
    const struct {
        const char* text;
        DateValue want;
    } cases[] = {
        {"3/14/2001", pi_day},
        {" 3/14/2001 ", pi_day},
        {"03/14/2001", pi_day},
        {"3/14/01", pi_day},
        {"3-14-2001", pi_day},
        {"2001-03-14", pi_day},
        {"2001/3/14", pi_day},
        {"March 14, 2001", pi_day},
        {"Mar 14 2001", pi_day},
        {"14 Mar 2001", pi_day},
        {"3/14/2001 2:05:09 PM", DateValue::Compose(2001, 3, 14, 14, 5, 9)},
        {"3/14/2001 2:05:09PM", DateValue::Compose(2001, 3, 14, 14, 5, 9)},
        {"2001-03-14 17:05:09", DateValue::Compose(2001, 3, 14, 17, 5, 9)},
        {"8:00:00 AM", DateValue::TimeOfDay(8, 0, 0)},
        {"8:00:00AM", DateValue::TimeOfDay(8, 0, 0)},
        {"8:00 am", DateValue::TimeOfDay(8, 0, 0)},
        {"12:00:00 AM", DateValue()},
        {"12:15 PM", DateValue::TimeOfDay(12, 15, 0)},
        {"20:15", DateValue::TimeOfDay(20, 15, 0)},
        {"1/1/30", DateValue::Compose(1930, 1, 1)},
        {"1/1/29", DateValue::Compose(2029, 1, 1)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseGeneralDate(c.text), c.want) << c.text;
    }
}

TEST(TextForms, RejectsWhatIsNotADate) {
    for (const char* text : {"", "   ", "yesterday", "2/30/2001", "13/1/2001", "3/14", "25:00",
                             "8:61", "13:00 PM", "3/14/2001 8", "3/14/2001 8:00 XM",
                             "3/14/2001 trailing", "99999/1/1", "1/1/12345", "0/0/0"}) {
        EXPECT_EQ(ParseGeneralDate(text), std::nullopt) << text;
    }
}

TEST(TextForms, EveryWrittenDateReadsBackToTheSecond) {
    for (int64_t seconds = -86400 * 3; seconds < 86400LL * 80000; seconds += 86400 * 97 + 3671) {
        const DateValue value(seconds);
        EXPECT_EQ(ParseGeneralDate(GeneralDate(value)), value) << GeneralDate(value);
    }
}

}  // namespace
}  // namespace pesterly::forms
