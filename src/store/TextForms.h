#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "store/DateValue.h"

// The text forms in which the program stores numbers, flags, texts and dates. Stored date
// texts use the fixed English (United States) forms whatever the user's locale, so that a
// file written on one desktop reads back the same on any other.
namespace pesterly::forms {

// " 5", " 0", "-3": a value of zero or more keeps a blank where a minus sign would go.
std::string PaddedNumber(int64_t value);
// "5", "-3".
std::string TrimmedNumber(int64_t value);

// A whole text that is a number ("  3 ", "2.5", "-1e2"), rounded half to even and held to the
// 16-bit range; nullopt when the text is not a number at all.
std::optional<int16_t> ParseWholeNumber(std::string_view text);
// The number at the start of the text: leading white space skipped, reading stops at the
// first character that cannot continue a number, no number at all gives 0. Rounded half to
// even and held to the 16-bit range.
int16_t LeadingNumber(std::string_view text);

inline constexpr std::string_view kTrue = "True";
inline constexpr std::string_view kFalse = "False";
inline std::string Flag(bool value) {
    return std::string(value ? kTrue : kFalse);
}
// Exactly "True" is true; "true", "TRUE" and every other text are false.
inline bool ReadFlag(std::string_view text) {
    return text == kTrue;
}

// Removes leading and trailing blanks (spaces only: tabs and line breaks stay).
std::string_view TrimBlanks(std::string_view text);

// 3/14/2001, 3/14/2001 2:05:09 PM, or 8:00:00 AM for a value whose date part is zero.
std::string GeneralDate(DateValue value);
// Reads the general date forms above and the forms a person might type into the file:
// "8:00:00AM", "8:00 am", "20:15", "2001-03-14", "2001-03-14 17:05:09", "3/14/01",
// "March 14, 2001", "14 Mar 2001". Leading and trailing white space is ignored.
std::optional<DateValue> ParseGeneralDate(std::string_view text);

}  // namespace pesterly::forms
