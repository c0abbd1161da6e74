#include "store/TextForms.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace pesterly::forms {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int16_t RoundToInt16(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);  // default rounding: half to even
    if (rounded <= std::numeric_limits<int16_t>::min()) {
        return std::numeric_limits<int16_t>::min();
    }
    if (rounded >= std::numeric_limits<int16_t>::max()) {
        return std::numeric_limits<int16_t>::max();
    }
    return static_cast<int16_t>(rounded);
}

// Length of the longest number at the start of text: sign, digits, fraction, exponent.
size_t NumberPrefix(std::string_view text) {
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == '.') {
        size_t j = i + 1;
        size_t fraction = 0;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            i = j;
            digits += fraction;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            ++j;
        }
        const size_t exponent_start = j;
        while (j < text.size() && IsDigit(text[j])) {
            ++j;
        }
        if (j > exponent_start) {
            i = j;
        }
    }
    return i;
}

// The value of a whole number text as NumberPrefix measures it. std::from_chars reads the same
// in every locale: strtod would take "2,7" for 2.7 and "2.7" for 2 under a German desktop.
double ToDouble(std::string_view number) {
    bool negative = false;
    if (!number.empty() && (number.front() == '+' || number.front() == '-')) {
        negative = number.front() == '-';
        number.remove_prefix(1);
    }
    double value = 0;
    const std::errc error = std::from_chars(number.data(), number.data() + number.size(), value).ec;
    if (error == std::errc::result_out_of_range) {
        // Too large or too small for a double: only whether it is huge matters from here.
        const size_t e = number.find_first_of("eE");
        const bool huge = e != std::string_view::npos
                              ? !(e + 1 < number.size() && number[e + 1] == '-')
                              : number.find_first_not_of('0') < number.find('.');
        value = huge ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (error != std::errc()) {
        value = 0;
    }
    return negative ? -value : value;
}

std::string_view TrimSpace(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

constexpr std::array<std::string_view, 12> kMonthNames = {
    "january", "february", "march",     "april",   "may",      "june",
    "july",    "august",   "september", "october", "november", "december"};

// A small cursor over the text of a date, read token by token.
class DateReader {
  public:
    explicit DateReader(std::string_view text) : text_(text) {}

    bool AtEnd() {
        SkipSpace();
        return pos_ == text_.size();
    }
    void SkipSpace() {
        while (pos_ < text_.size() && IsSpace(text_[pos_])) {
            ++pos_;
        }
    }
    // Up to max_digits digits; nullopt when none.
    std::optional<int64_t> Number(size_t max_digits, size_t* count = nullptr) {
        size_t start = pos_;
        int64_t value = 0;
        while (pos_ < text_.size() && IsDigit(text_[pos_]) && pos_ - start < max_digits) {
            value = value * 10 + (text_[pos_] - '0');
            ++pos_;
        }
        if (pos_ < text_.size() && IsDigit(text_[pos_])) {
            return std::nullopt;  // too many digits
        }
        if (count != nullptr) {
            *count = pos_ - start;
        }
        return pos_ == start ? std::nullopt : std::optional<int64_t>(value);
    }
    bool Take(char c) {
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }
    std::string Word() {
        std::string word;
        while (pos_ < text_.size() && IsAlpha(text_[pos_])) {
            word += Lower(text_[pos_++]);
        }
        return word;
    }
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    // True when a time (digits then ':') starts here.
    bool TimeAhead() const {
        size_t i = pos_;
        while (i < text_.size() && IsDigit(text_[i])) {
            ++i;
        }
        return i > pos_ && i < text_.size() && text_[i] == ':';
    }
    size_t Position() const { return pos_; }
    void Reset(size_t pos) { pos_ = pos; }

  private:
    std::string_view text_;
    size_t pos_ = 0;
};

std::optional<int> MonthFromName(const std::string& word) {
    if (word.size() < 3) {
        return std::nullopt;
    }
    for (size_t i = 0; i < kMonthNames.size(); ++i) {
        const std::string_view name = kMonthNames[i];
        if (word.size() <= name.size() && name.substr(0, word.size()) == word) {
            return static_cast<int>(i + 1);
        }
    }
    return std::nullopt;
}

int64_t FullYear(int64_t year, size_t digits) {
    if (digits <= 2) {
        return year < 30 ? 2000 + year : 1900 + year;
    }
    return year;
}

bool ValidDate(int64_t year, int64_t month, int64_t day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, static_cast<int>(month));
}

std::optional<DateValue> ReadTime(DateReader& in) {
    auto hour = in.Number(2);
    if (!hour || !in.Take(':')) {
        return std::nullopt;
    }
    auto minute = in.Number(2);
    if (!minute) {
        return std::nullopt;
    }
    int64_t second = 0;
    if (in.Take(':')) {
        auto s = in.Number(2);
        if (!s) {
            return std::nullopt;
        }
        second = *s;
    }
    in.SkipSpace();
    const std::string meridian = in.Word();
    if (meridian == "am" || meridian == "a" || meridian == "pm" || meridian == "p") {
        if (*hour > 12) {
            return std::nullopt;
        }
        const bool pm = meridian[0] == 'p';
        hour = *hour % 12 + (pm ? 12 : 0);
    } else if (!meridian.empty()) {
        return std::nullopt;
    }
    if (*hour > 23 || *minute > 59 || second > 59) {
        return std::nullopt;
    }
    return DateValue::TimeOfDay(static_cast<int>(*hour), static_cast<int>(*minute),
                                static_cast<int>(second));
}

std::optional<DateValue> ReadDate(DateReader& in) {
    const size_t start = in.Position();
    if (IsAlpha(in.Peek())) {  // March 14, 2001
        auto month = MonthFromName(in.Word());
        in.SkipSpace();
        auto day = in.Number(2);
        in.SkipSpace();
        in.Take(',');
        in.SkipSpace();
        size_t digits = 0;
        auto year = in.Number(4, &digits);
        if (!month || !day || !year) {
            return std::nullopt;
        }
        const int64_t full = FullYear(*year, digits);
        return ValidDate(full, *month, *day) ? std::optional(DateValue::Compose(full, *month, *day))
                                             : std::nullopt;
    }
    size_t first_digits = 0;
    auto first = in.Number(4, &first_digits);
    if (!first) {
        return std::nullopt;
    }
    if (first_digits > 2) {  // 2001-03-14 or 2001/3/14
        const char separator = in.Peek();
        if (separator != '-' && separator != '/' && separator != '.') {
            return std::nullopt;
        }
        in.Take(separator);
        auto month = in.Number(2);
        if (!month || !in.Take(separator)) {
            return std::nullopt;
        }
        auto day = in.Number(2);
        if (!day || !ValidDate(*first, *month, *day)) {
            return std::nullopt;
        }
        return DateValue::Compose(*first, *month, *day);
    }
    in.SkipSpace();
    if (IsAlpha(in.Peek())) {  // 14 Mar 2001
        auto month = MonthFromName(in.Word());
        in.SkipSpace();
        in.Take(',');
        in.SkipSpace();
        size_t digits = 0;
        auto year = in.Number(4, &digits);
        if (!month || !year) {
            return std::nullopt;
        }
        const int64_t full = FullYear(*year, digits);
        return ValidDate(full, *month, *first)
                   ? std::optional(DateValue::Compose(full, *month, *first))
                   : std::nullopt;
    }
    const char separator = in.Peek();  // 3/14/2001, 3-14-2001
    if (separator != '/' && separator != '-') {
        in.Reset(start);
        return std::nullopt;
    }
    in.Take(separator);
    auto day = in.Number(2);
    if (!day || !in.Take(separator)) {
        return std::nullopt;
    }
    size_t digits = 0;
    auto year = in.Number(4, &digits);
    if (!year) {
        return std::nullopt;
    }
    const int64_t full = FullYear(*year, digits);
    return ValidDate(full, *first, *day) ? std::optional(DateValue::Compose(full, *first, *day))
                                         : std::nullopt;
}

}  // namespace

std::string PaddedNumber(int64_t value) {
    // Built in place: GCC 12 at -O3 takes " " + std::to_string(...) for an overlapping copy
    // (a false -Wrestrict) and so fails the Release build.
    std::string text = std::to_string(value);
    if (value >= 0) {
        text.insert(text.begin(), ' ');
    }
    return text;
}

std::string TrimmedNumber(int64_t value) {
    return std::to_string(value);
}

std::optional<int16_t> ParseWholeNumber(std::string_view text) {
    text = TrimSpace(text);
    const size_t length = NumberPrefix(text);
    if (length == 0 || length != text.size()) {
        return std::nullopt;
    }
    return RoundToInt16(ToDouble(text));
}

int16_t LeadingNumber(std::string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    const size_t length = NumberPrefix(text);
    return length == 0 ? 0 : RoundToInt16(ToDouble(text.substr(0, length)));
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string GeneralDate(DateValue value) {
    std::string text;
    if (value.Days() != 0) {
        text = std::to_string(value.Month()) + "/" + std::to_string(value.Day()) + "/" +
               std::to_string(value.Year());
        if (value.TimePart().Seconds() == 0) {
            return text;
        }
        text += ' ';
    }
    const int hour = value.Hour();
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char time[32];
    std::snprintf(time, sizeof time, "%d:%02d:%02d %s", hour12, value.Minute(), value.Second(),
                  hour < 12 ? "AM" : "PM");
    return text + time;
}

std::optional<DateValue> ParseGeneralDate(std::string_view text) {
    DateReader in(TrimSpace(text));
    if (in.AtEnd()) {
        return std::nullopt;
    }
    DateValue date;
    if (!in.TimeAhead()) {
        auto day = ReadDate(in);
        if (!day) {
            return std::nullopt;
        }
        date = *day;
        in.SkipSpace();
        in.Take(',');
        if (in.AtEnd()) {
            return date;
        }
    }
    auto time = ReadTime(in);
    if (!time || !in.AtEnd()) {
        return std::nullopt;
    }
    return DateValue(date.Seconds() + time->Seconds());
}

}  // namespace pesterly::forms
