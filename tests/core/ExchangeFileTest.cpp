#include "exchange/ExchangeFile.h"

#include <gtest/gtest.h>

#include <set>

#include "exchange/ImportHappenings.h"
#include "exchange/TextEncoding.h"

namespace pesterly {
namespace {

// The two events of the example file that the old program wrote.
std::vector<Happening> TwoExampleEvents() {
    Happening birthday;
    birthday.EventDate = DateValue::Compose(2001, 3, 14);
    birthday.Repeat = kRepeatYearly;
    birthday.Desc = "Mother's birthday";
    birthday.DoneDate = DateValue::Compose(2000, 3, 14);
    birthday.SendMail = true;
    birthday.Category = 3;
    birthday.EmailBody = "Buy a present.";

    Happening dentist;
    dentist.EventDate = DateValue::Compose(2001, 4, 2);
    dentist.Desc = "Dentist";
    dentist.DoneDate = DateValue::Compose(2000, 3, 28);
    dentist.SpecialEmail = " ";
    return {birthday, dentist};
}

constexpr std::string_view kBirthdayLine =
    "#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#TRUE#,\"\",3,\"Buy a present.\"";

Happening Described(const std::string& desc) {
    Happening h;
    h.Desc = desc;
    h.EventDate = DateValue::Compose(2026, 5, 1);
    return h;
}

std::vector<Happening> Parsed(std::string_view bytes) {
    auto parsed = ParseExchangeFile(bytes);
    if (const auto* error = std::get_if<Error>(&parsed)) {
        ADD_FAILURE() << "unexpected error: " << error->message << "\nin: " << bytes;
        return {};
    }
    return std::get<std::vector<Happening>>(std::move(parsed));
}

std::string ErrorOf(std::string_view bytes) {
    const auto parsed = ParseExchangeFile(bytes);
    const auto* error = std::get_if<Error>(&parsed);
    return error != nullptr ? error->message : "(read without an error)";
}

// One line with the given fields in place of the example birthday's.
std::string Line(std::string_view event_date, std::string_view repeat, std::string_view desc,
                 std::string_view truth = "#TRUE#", std::string_view body = "\"b\"") {
    return std::string(event_date) + "," + std::string(repeat) + "," + std::string(desc) +
           ",#2000-03-14#," + std::string(truth) + ",\"\",3," + std::string(body) + "\r\n";
}

TEST(Exchange, ExactFileForms) {
    // The example file byte for byte, as the old program wrote it.
    const std::string example =
        "2\r\n" + std::string(kBirthdayLine) +
        "\r\n#2001-04-02#,0,\"Dentist\",#2000-03-28#,#FALSE#,\" \",0,\"\"\r\n";
    EXPECT_EQ(WriteExchangeFile(TwoExampleEvents()), example);
    EXPECT_EQ(Parsed(example), TwoExampleEvents());
    EXPECT_EQ(WriteExchangeFile({}), "0\r\n");
    EXPECT_TRUE(Parsed("0\r\n").empty());

    // Quotes inside a text are doubled; line breaks stay inside the quotes as written.
    Happening quoted = TwoExampleEvents()[1];
    quoted.Desc = "say \"hi\"";
    quoted.EmailBody = "\"";
    Happening broken = TwoExampleEvents()[0];
    broken.EmailBody = "Buy a present.\r\nAnd flowers.";
    const std::string file = WriteExchangeFile({quoted, broken});
    EXPECT_EQ(file,
              "2\r\n#2001-04-02#,0,\"say \"\"hi\"\"\",#2000-03-28#,#FALSE#,\" \",0,\"\"\"\"\r\n"
              "#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#TRUE#,\"\",3,"
              "\"Buy a present.\r\nAnd flowers.\"\r\n");
    EXPECT_EQ(Parsed(file), (std::vector<Happening>{quoted, broken}));
}

TEST(Exchange, EveryDateFormIsWrittenAsTheOldProgramDidAndReadsBack) {
    const std::pair<DateValue, std::string_view> cases[] = {
        {DateValue::Compose(2001, 3, 14, 17, 5, 9), "#2001-03-14 17:05:09#"},
        {DateValue::Compose(2001, 3, 14, 0, 0, 1), "#2001-03-14 00:00:01#"},
        {DateValue::TimeOfDay(8, 0, 0), "#08:00:00#"},
        {DateValue::TimeOfDay(23, 59, 59), "#23:59:59#"},
        {DateValue(0), "#00:00:00#"},
        {DateValue::Compose(1899, 12, 31), "#1899-12-31#"},
        {DateValue::Compose(1899, 12, 29, 6, 0, 0), "#1899-12-29 06:00:00#"},
        {DateValue::Compose(100, 1, 1), "#0100-01-01#"},
        {DateValue::Compose(9999, 12, 31, 23, 59, 59), "#9999-12-31 23:59:59#"},
        {DateValue::Compose(2024, 2, 29), "#2024-02-29#"},
    };
    for (const auto& [value, form] : cases) {
        Happening event = Described("d");
        event.EventDate = value;
        event.DoneDate = value;
        const std::string file = WriteExchangeFile({event});
        const std::string field(form);
        EXPECT_EQ(file, "1\r\n" + field + ",0,\"d\"," + field + ",#FALSE#,\"\",0,\"\"\r\n");
        EXPECT_EQ(Parsed(file), std::vector<Happening>{event}) << form;
    }
}

TEST(Exchange, AwkwardTextsAndNumbersSurviveRoundTrip) {
    // clang-format off
    const std::string texts[] = {"", " ", "  padded  ", "a, b, c", "first line\r\nsecond line",
        "a\nb", "lone\rreturn", "ends with a break\r\n", "\r\n", "\"", "\"\"", "\",\"",
        "#2001-03-14#", "#TRUE#", "tab\there", "Grüße, € and 日本", "12"};
    // clang-format on
    const int16_t numbers[] = {0, 4, -1, 7, -32768, 32767};
    std::vector<Happening> events;
    for (size_t i = 0; i < std::size(texts); ++i) {
        Happening event = Described(texts[i]);
        event.SpecialEmail = texts[i];
        event.EmailBody = texts[i];
        event.Repeat = numbers[i % std::size(numbers)];
        event.Category = static_cast<int16_t>(-event.Repeat / 2);
        event.SendMail = i % 2 == 1;
        events.push_back(event);
    }
    EXPECT_EQ(Parsed(WriteExchangeFile(events)), events);
}

TEST(Exchange, ReadsTheLooserFormsAPersonOrAnotherProgramMayWrite) {
    const std::string b(kBirthdayLine);
    const std::string after_date = b.substr(std::string_view("#2001-03-14#").size());
    const std::string files[] = {
        "  1 \r\n #2001-03-14# , 1 ,  \"Mother's birthday\" ,\t#2000-03-14#, #TRUE# ,\"\", 3 "
        ",\"Buy a present.\"  \r\n",
        "1\n" + b + "\n",                           // line feeds only
        "1\r\n" + b,                                // no line end at the end
        "1\r\n\r\n  \r\n" + b + "\r\n\r\n \t\r\n",  // blank lines around
        "1\r\n" + b + ",\r\n",                      // a comma after the last field
        "\uFEFF1\r\n" + b,                          // byte order mark
        "1\r\n#2001-03-14#\r\n1\r\n\"Mother's birthday\"\r\n#2000-03-14#,#TRUE#\r\n\"\"\r\n3,"
        "\"Buy a present.\"\r\n",
        "1\r\n#3/14/2001#,1,\"Mother's birthday\",#3/14/2000#,#TRUE#,\"\",3,\"Buy a present.\"",
        "1\r\n#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#True#,\"\",3,\"Buy a present.\"",
    };
    for (const std::string& file : files) {
        EXPECT_EQ(Parsed(file), std::vector<Happening>{TwoExampleEvents()[0]}) << file;
    }
    Happening afternoon = TwoExampleEvents()[0];
    afternoon.EventDate = DateValue::Compose(2001, 3, 14, 17, 5, 9);
    EXPECT_EQ(Parsed("1\r\n#3/14/2001 5:05:09 PM#" + after_date),
              std::vector<Happening>{afternoon});
    // A file edited on Linux keeps its bare line feeds inside the text.
    const auto read = Parsed("1\n" + Line("#2001-03-14#", "1", "\"x\"", "#TRUE#", "\"a\nb\""));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].EmailBody, "a\nb");
}

TEST(Exchange, DamagedFileNamesTheLineAndYieldsNoEvents) {
    const std::string good = Line("#2001-03-14#", "1", "\"x\"");
    const std::string empty = "the file is empty: the first line should be the number of events";
    const std::string count = "the first line should be the number of events";
    const std::string at_most = " events, but a file holds at most 100000";
    const std::string fifth = "line 2: the fifth field should be #TRUE# or #FALSE#";
    const std::string second =
        "line 2: the second field should be a whole number from -32768 to 32767";
    const std::string date = "line 2: the first field should be a date such as #2001-03-14#";
    const std::pair<std::string, std::string> cases[] = {
        {"", empty},
        {" \r\n\r\n", empty},
        {"two\r\n" + good, count},
        {"2.5\r\n" + good, count},
        {"\"2\"\r\n" + good, count},
        {"\r\n1\r\n" + good, count},
        {"-1\r\n" + good,
         "the first line announces -1 events, but the number of events cannot be negative"},
        {"100001\r\n" + good, "the first line announces 100001" + at_most},
        {"99999999999999999999999\r\n",
         "the first line announces 99999999999999999999999" + at_most},
        {"5\r\n" + good + good, "the file ends after 2 of the 5 events it announces"},
        {"1\r\n", "the file ends after 0 of the 1 event it announces"},
        {"2\r\n" + good + "#2001-03-14#,1,\"y\",#2000-03-14#\r\n",
         "the file ends after 1 of the 2 events it announces"},
        {"1\r\n" + good + good, "line 3: there is more in the file after the 1 event it announces"},
        {"1\r\n" + Line("#2001-03-14#", "1", "\"x\"", "#YES#"), fifth},
        {"1\r\n" + Line("#2001-03-14#", "1", "\"x\"", "1"), fifth},
        {"1\r\n" + Line("#2001-02-30#", "1", "\"x\""), date + ", not #2001-02-30#"},
        {"1\r\n" + Line("#2001-03-14 24:00:00#", "1", "\"x\""),
         date + ", not #2001-03-14 24:00:00#"},
        {"1\r\n" + Line("#TRUE#", "1", "\"x\""), date + ", not #TRUE#"},
        {"1\r\n" + Line("2001-03-14", "1", "\"x\""), date},
        {"1\r\n" + Line("#2001-03-14#", "1", "\"x\"", "#TRUE"),
         "line 2: the # that starts the fifth field has no closing #"},
        {"1\r\n" + Line("#2001-03-14#", "32768", "\"x\""), second},
        {"1\r\n" + Line("#2001-03-14#", "", "\"x\""), second},
        {"1\r\n" + Line("#2001-03-14#", "\"1\"", "\"x\""), second},
        {"1\r\n" + Line("#2001-03-14#", "1", "x"),
         "line 2: the third field should be a text in double quotes"},
        // The old program wrote a quote inside a text once: refused, never misread.
        {"1\r\n" + Line("#2001-03-14#", "1", "\"the \"big\" day\""),
         "line 2: there is more text after the third field, where a comma or the end of the line "
         "should be (a double quote inside a text is written twice)"},
        {"1\r\n" + Line("#2001-03-14#", "1", "\"x\"", "#TRUE#", "\"never closed\r\n"),
         "line 2: the text that starts here has no closing double quote"},
        // Line numbers count the line breaks inside a multi-line body.
        {"2\r\n" + Line("#2001-03-14#", "1", "\"x\"", "#TRUE#", "\"one\r\ntwo\nthree\rfour\"") +
             Line("#2001-03-14#", "1", "\"y\"", "#MAYBE#"),
         "line 6: the fifth field should be #TRUE# or #FALSE#"},
    };
    for (const auto& [file, message] : cases) {
        EXPECT_EQ(ErrorOf(file), message) << file;
    }
}

TEST(Exchange, Windows1252IsReadAndNeverWritten) {
    const std::string file = "1\r\n" + Line("#2001-03-14#", "1", "\"Caf\xE9 \x80 \x93quoted\x94\"",
                                            "#TRUE#", "\"\x81\x9F\xA0\xFF\"");
    const auto read = Parsed(file);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].Desc, "Café € “quoted”");
    EXPECT_EQ(read[0].EmailBody, "\u0081\u0178\u00A0\u00FF");
    // Valid UTF-8 is never decoded a second time.
    EXPECT_EQ(Parsed("1\r\n" + Line("#2001-03-14#", "1", "\"Café €\""))[0].Desc, "Café €");

    // A text that is not UTF-8 is written as UTF-8, without touching its neighbour.
    Happening event = Described("Caf\xE9");
    event.EmailBody = "Grüße";
    const std::string written = WriteExchangeFile({event});
    EXPECT_TRUE(encoding::IsValidUtf8(written));
    event.Desc = "Café";
    EXPECT_EQ(Parsed(written), std::vector<Happening>{event});

    // Every byte from 0x80 up becomes a character of its own, Latin-1 from 0xA0.
    std::set<std::string> seen;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string decoded =
            encoding::Windows1252ToUtf8(std::string(1, static_cast<char>(b)));
        EXPECT_TRUE(encoding::IsValidUtf8(decoded) && decoded.size() >= 2) << b;
        seen.insert(decoded);
        if (b >= 0xA0) {
            EXPECT_EQ(decoded, std::string({static_cast<char>(0xC0 | (b >> 6)),
                                            static_cast<char>(0x80 | (b & 0x3F))}))
                << b;
        }
    }
    EXPECT_EQ(seen.size(), 128u);
}

TEST(Exchange, Utf8CheckRejectsWhatIsNotUtf8) {
    // é, €, an emoji, U+10FFFF.
    for (const std::string_view valid :
         {"plain", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF"}) {
        EXPECT_TRUE(encoding::IsValidUtf8(valid)) << testing::PrintToString(valid);
    }
    // Windows-1252 é, cut short, overlong, surrogate, beyond U+10FFFF, lone or bad continuation.
    for (const std::string_view invalid :
         {"\xE9", "\xC3", "\xE2\x82", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80",
          "\xF4\x90\x80\x80", "\x80", "\xE2\x28\xA1"}) {
        EXPECT_FALSE(encoding::IsValidUtf8(invalid)) << testing::PrintToString(invalid);
    }
}

// ---- Import ----

// Only the live rows count: a slot beyond them may hold an old event of the same name.
// Appended events keep their fields, even a category this table lacks, but never use the nag
// list; the event being edited is left alone.
TEST(Import, NewDescriptionsAreAppendedInFileOrderAndRepeatsSkipped) {
    Database db;
    db.AppendHappening(Described("Dentist"));
    db.AppendHappening(Described("Rent"));
    db.Happenings[5] = Described("Ghost");
    db.EditBuffer = Described("being edited");
    db.EditBuffer.UseNagList = true;
    Happening birthday = TwoExampleEvents()[0];
    birthday.UseNagList = true;
    birthday.Category = 57;
    const ImportSummary summary = ImportHappenings(
        db, {Described("Garden"), Described("Rent"), Described("Garden"), Described("dentist"),
             Described("Dentist "), Described("Garden"), Described("Ghost"), birthday});
    EXPECT_EQ(summary.appended_slots, (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(summary.duplicates_skipped, 3);
    EXPECT_EQ(summary.left_out, 0);
    std::vector<std::string> live;
    for (int i = 0; i < db.HappeningCount; ++i) {
        live.push_back(db.Happenings[i].Desc);
    }
    EXPECT_EQ(live, (std::vector<std::string>{"Dentist", "Rent", "Garden", "dentist", "Dentist ",
                                              "Ghost", "Mother's birthday"}));
    birthday.UseNagList = false;
    EXPECT_EQ(db.Happenings[6], birthday);
    EXPECT_EQ(db.EditBuffer.Desc, "being edited");
}

TEST(Import, FullTableLeavesOutTheEventsThatDoNotFit) {
    const struct {
        int live;
        std::vector<int> slots;
        int left_out;
    } cases[] = {{98, {98, 99, 100}, 0}, {99, {99, 100}, 1}, {100, {100}, 2}, {101, {}, 3}};
    for (const auto& c : cases) {
        Database db;
        for (int i = 0; i < c.live; ++i) {
            db.AppendHappening(Described("live " + std::to_string(i)));
        }
        const ImportSummary summary = ImportHappenings(
            db, {Described("a"), Described("live 0"), Described("b"), Described("c")});
        EXPECT_EQ(summary.appended_slots, c.slots) << c.live;
        EXPECT_EQ(summary.duplicates_skipped, 1) << c.live;
        EXPECT_EQ(summary.left_out, c.left_out) << c.live;
        EXPECT_EQ(db.HappeningCount, c.live + static_cast<int>(c.slots.size()));
    }
}

}  // namespace
}  // namespace pesterly
