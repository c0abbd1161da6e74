#include "exchange/ExchangeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "exchange/ImportHappenings.h"

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

Happening Described(const std::string& desc) {
    Happening h;
    h.Desc = desc;
    h.EventDate = DateValue::Compose(2026, 5, 1);
    return h;
}

TEST(Exchange, ExactFileForms) {
    // The example file byte for byte, as the old program wrote it.
    const std::string example =
        "2\r\n"
        "#2001-03-14#,1,\"Mother's birthday\",#2000-03-14#,#TRUE#,\"\",3,\"Buy a present.\"\r\n"
        "#2001-04-02#,0,\"Dentist\",#2000-03-28#,#FALSE#,\" \",0,\"\"\r\n";
    EXPECT_EQ(WriteExchangeFile(TwoExampleEvents()), example);
    EXPECT_EQ(ParseExchangeFile(example)->events, TwoExampleEvents());
}

// Each file in the folder (also the fuzzer's seeds) with what reading it gives beside it: the
// message for a file that is refused, or else the file that writing the events read gives and
// the line from which the rest was ignored.
TEST(Exchange, FilesOthersMayWriteReadAsExpected) {
    const auto slurp = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        EXPECT_TRUE(in) << path;
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(PESTERLY_TEST_DATA "/exchange")) {
        if (entry.path().extension() != ".Pesterly") {
            continue;
        }
        ++files;
        const auto parsed = ParseExchangeFile(slurp(entry.path()));
        EXPECT_EQ(!parsed ? parsed.error().message + "\n"
                          : WriteExchangeFile(parsed->events) +
                                (parsed->ignored_from_line == 0
                                     ? ""
                                     : "ignored from line " +
                                           std::to_string(parsed->ignored_from_line) + "\n"),
                  slurp(std::filesystem::path(entry.path()).replace_extension(".expected")))
            << entry.path();
    }
    EXPECT_GT(files, 0);
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

}  // namespace
}  // namespace pesterly
