#include "exchange/ExchangeFile.h"

#include <array>
#include <cstdio>
#include <limits>
#include <optional>

#include "store/TextEncoding.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kFieldsPerEvent = 8;
struct FieldName {
    const char* context;
    const char* words;
};
constexpr FieldName kFieldNames[kFieldsPerEvent] = {
    {PESTERLY_TEXT("ExchangeFile", "first field")},
    {PESTERLY_TEXT("ExchangeFile", "second field")},
    {PESTERLY_TEXT("ExchangeFile", "third field")},
    {PESTERLY_TEXT("ExchangeFile", "fourth field")},
    {PESTERLY_TEXT("ExchangeFile", "fifth field")},
    {PESTERLY_TEXT("ExchangeFile", "sixth field")},
    {PESTERLY_TEXT("ExchangeFile", "seventh field")},
    {PESTERLY_TEXT("ExchangeFile", "eighth field")}};
// Longer field texts are left out of messages: they would only bury the reason.
constexpr size_t kMostQuotedInMessage = 40;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

Error AtLine(int line, Text what) {
    return Failure(
        {PESTERLY_TEXT("ExchangeFile", "line %1: %2"), {std::to_string(line), std::move(what)}});
}

enum class FieldForm { kQuoted, kHashed, kBare };

struct Field {
    FieldForm form = FieldForm::kBare;
    std::string text;  // without its quotes or number signs
    int line = 1;      // where the field starts
};

// Walks the decoded file field by field, keeping count of the physical line.
class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : text_(text) {}

    int Line() const { return line_; }

    bool OnlyWhiteSpaceLeft() const {
        for (size_t i = pos_; i < text_.size(); ++i) {
            if (!IsBlank(text_[i]) && !IsLineEnd(text_[i])) {
                return false;
            }
        }
        return true;
    }

    void SkipBlankLines() {
        while (pos_ < text_.size() && (IsBlank(text_[pos_]) || IsLineEnd(text_[pos_]))) {
            Step();
        }
    }

    // Reads one field and the comma or line end after it. `name` says which field it is, for
    // the messages.
    Result<void> Next(Field& field, const Text& name) {
        SkipBlanks();
        field.line = line_;
        field.text.clear();
        if (pos_ < text_.size() && text_[pos_] == '"') {
            field.form = FieldForm::kQuoted;
            if (auto read = ReadQuoted(field); !read) {
                return read;
            }
        } else if (pos_ < text_.size() && text_[pos_] == '#') {
            field.form = FieldForm::kHashed;
            if (auto read = ReadHashed(field, name); !read) {
                return read;
            }
        } else {
            field.form = FieldForm::kBare;
            ReadBare(field);
        }
        return TakeSeparator(field, name);
    }

  private:
    // Moves past one character, counting CR LF, a lone CR and a lone LF as one line break each.
    void Step() {
        const char c = text_[pos_++];
        if (c == '\n' || (c == '\r' && (pos_ == text_.size() || text_[pos_] != '\n'))) {
            ++line_;
        }
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
            ++pos_;
        }
    }

    Result<void> ReadQuoted(Field& field) {
        ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '"') {
                if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '"') {
                    field.text += '"';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                return {};
            }
            field.text += c;
            Step();
        }
        return AtLine(field.line,
                      {PESTERLY_TEXT("ExchangeFile",
                                     "the text that starts here has no closing double quote")});
    }

    Result<void> ReadHashed(Field& field, const Text& name) {
        const size_t start = ++pos_;
        while (pos_ < text_.size() && text_[pos_] != '#' && !IsLineEnd(text_[pos_])) {
            ++pos_;
        }
        if (pos_ == text_.size() || text_[pos_] != '#') {
            return AtLine(field.line, {PESTERLY_TEXT("ExchangeFile",
                                                     "the # that starts the %1 has no closing #"),
                                       {name}});
        }
        field.text = std::string(text_.substr(start, pos_ - start));
        ++pos_;
        return {};
    }

    void ReadBare(Field& field) {
        const size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !IsLineEnd(text_[pos_])) {
            ++pos_;
        }
        size_t end = pos_;
        while (end > start && IsBlank(text_[end - 1])) {
            --end;
        }
        field.text = std::string(text_.substr(start, end - start));
    }

    Result<void> TakeSeparator(const Field& field, const Text& name) {
        SkipBlanks();
        if (pos_ == text_.size()) {
            return {};
        }
        if (text_[pos_] == ',') {
            ++pos_;
            return {};
        }
        if (IsLineEnd(text_[pos_])) {
            if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') {
                ++pos_;
            }
            Step();
            return {};
        }
        return AtLine(line_, field.form == FieldForm::kQuoted
                                 ? Text(PESTERLY_TEXT("ExchangeFile",
                                                      "there is more text after the %1, where a "
                                                      "comma or the end of the line should be (a "
                                                      "double quote inside a text is written "
                                                      "twice)"),
                                        {name})
                                 : Text(PESTERLY_TEXT("ExchangeFile",
                                                      "there is more text after the %1, where a "
                                                      "comma or the end of the line should be"),
                                        {name}));
    }

    std::string_view text_;
    size_t pos_ = 0;
    int line_ = 1;
};

// A plain whole number: an optional minus and at least one digit. Values too large for any
// field come back as the largest int64_t, which every caller rejects.
std::optional<int64_t> WholeNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    if (text.empty()) {
        return std::nullopt;
    }
    constexpr int64_t kCap = std::numeric_limits<int64_t>::max() / 10 - 10;
    int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value >= kCap ? kCap : value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::optional<bool> Truth(const Field& field) {
    if (field.form != FieldForm::kHashed) {
        return std::nullopt;
    }
    if (EqualsIgnoringCase(field.text, "TRUE")) {
        return true;
    }
    if (EqualsIgnoringCase(field.text, "FALSE")) {
        return false;
    }
    return std::nullopt;
}

Result<void> ReadDate(const Field& field, const Text& name, DateValue& out) {
    if (field.form == FieldForm::kHashed) {
        if (auto date = forms::ParseGeneralDate(field.text)) {
            out = *date;
            return {};
        }
    }
    if (field.form == FieldForm::kHashed && field.text.size() <= kMostQuotedInMessage) {
        return AtLine(field.line,
                      {PESTERLY_TEXT("ExchangeFile",
                                     "the %1 should be a date such as #2001-03-14#, not #%2#"),
                       {name, field.text}});
    }
    return AtLine(
        field.line,
        {PESTERLY_TEXT("ExchangeFile", "the %1 should be a date such as #2001-03-14#"), {name}});
}

Result<void> ReadWhole(const Field& field, const Text& name, int16_t& out) {
    if (field.form == FieldForm::kBare) {
        const auto value = WholeNumber(field.text);
        if (value && *value >= std::numeric_limits<int16_t>::min() &&
            *value <= std::numeric_limits<int16_t>::max()) {
            out = static_cast<int16_t>(*value);
            return {};
        }
    }
    return AtLine(
        field.line,
        {PESTERLY_TEXT("ExchangeFile", "the %1 should be a whole number from -32768 to 32767"),
         {name}});
}

Result<void> ReadText(Field& field, const Text& name, std::string& out) {
    if (field.form != FieldForm::kQuoted) {
        return AtLine(
            field.line,
            {PESTERLY_TEXT("ExchangeFile", "the %1 should be a text in double quotes"), {name}});
    }
    out = std::move(field.text);
    return {};
}

Result<void> ReadTruth(const Field& field, const Text& name, bool& out) {
    if (const auto value = Truth(field)) {
        out = *value;
        return {};
    }
    return AtLine(field.line,
                  {PESTERLY_TEXT("ExchangeFile", "the %1 should be #TRUE# or #FALSE#"), {name}});
}

// Puts field `index` of an event into its place in the record.
Result<void> Assign(size_t index, Field& field, Happening& event) {
    const Text name(kFieldNames[index].context, kFieldNames[index].words);
    switch (index) {
        case 0:
            return ReadDate(field, name, event.EventDate);
        case 1:
            return ReadWhole(field, name, event.Repeat);
        case 2:
            return ReadText(field, name, event.Desc);
        case 3:
            return ReadDate(field, name, event.DoneDate);
        case 4:
            return ReadTruth(field, name, event.SendMail);
        case 5:
            return ReadText(field, name, event.SpecialEmail);
        case 6:
            return ReadWhole(field, name, event.Category);
        default:
            return ReadText(field, name, event.EmailBody);
    }
}

Result<int64_t> ReadCount(FieldReader& in) {
    const Error not_a_count =
        Failure({PESTERLY_TEXT("ExchangeFile", "the first line should be the number of events")});
    if (in.OnlyWhiteSpaceLeft()) {
        return Failure(
            {PESTERLY_TEXT("ExchangeFile", "the file is empty: %1"), {not_a_count.text}});
    }
    Field field;
    if (auto read = in.Next(field, {PESTERLY_TEXT("ExchangeFile", "number of events")}); !read) {
        return read.error();
    }
    const auto count = field.form == FieldForm::kBare ? WholeNumber(field.text) : std::nullopt;
    if (!count) {
        return not_a_count;
    }
    const Text shown = field.text.size() <= kMostQuotedInMessage
                           ? Text(field.text)
                           : Text(PESTERLY_TEXT("ExchangeFile", "that many"));
    if (*count < 0) {
        return Failure({PESTERLY_TEXT("ExchangeFile",
                                      "the first line announces %1 events, but the number of "
                                      "events cannot be negative"),
                        {shown}});
    }
    if (*count > kExchangeMostEvents) {
        return Failure({PESTERLY_TEXT("ExchangeFile",
                                      "the first line announces %1 events, but a file holds at "
                                      "most %2"),
                        {shown, std::to_string(kExchangeMostEvents)}});
    }
    return *count;
}

}  // namespace

ParsedExchangeFile ParseExchangeFile(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    }
    const std::string text = encoding::AsUtf8(bytes);
    FieldReader in(text);

    const auto count = ReadCount(in);
    if (!count) {
        return count.error();
    }
    const int64_t announced = *count;

    std::vector<Happening> events;
    const auto ends_early = [&] {
        return Failure(
            announced == 1
                ? Text(PESTERLY_TEXT("ExchangeFile",
                                     "the file ends after %1 of the 1 event it announces"),
                       {std::to_string(events.size())})
                : Text(PESTERLY_TEXT("ExchangeFile",
                                     "the file ends after %1 of the %2 events it announces"),
                       {std::to_string(events.size()), std::to_string(announced)}));
    };
    for (int64_t n = 0; n < announced; ++n) {
        in.SkipBlankLines();
        Happening event;
        for (size_t index = 0; index < kFieldsPerEvent; ++index) {
            if (in.OnlyWhiteSpaceLeft()) {
                return ends_early();
            }
            Field field;
            if (auto read = in.Next(field, {kFieldNames[index].context, kFieldNames[index].words});
                !read) {
                return read.error();
            }
            if (auto read = Assign(index, field, event); !read) {
                return read.error();
            }
        }
        events.push_back(std::move(event));
    }
    in.SkipBlankLines();
    return ExchangeContents{std::move(events), in.OnlyWhiteSpaceLeft() ? 0 : in.Line()};
}

}  // namespace pesterly
