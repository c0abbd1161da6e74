#include "store/SettingsLayout.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

#include "store/TextForms.h"

namespace pesterly {
namespace {

using namespace keys;
constexpr std::string_view kDefaultCheckTime = "8:00:00AM";

// Which stored slots a table is loaded from, in order, and what the user should hear about it.
struct SlotsToLoad {
    std::vector<int> slots;
    std::optional<Text> notice;
};

// A count the program wrote is read as it is: the slots past it stay hidden, since they are
// what deleting leaves behind. A count that is missing or not a number (a hand edit, a damaged
// file) would hide every slot, so the slots that hold any key are found and counted instead,
// gaps left out, up to a gap as long as the whole table.
SlotsToLoad FindSlots(SettingsStore& store, std::string_view section, std::string_view count_key,
                      std::initializer_list<std::string_view> prefixes, const Text& what) {
    SlotsToLoad found;
    const std::string text = store.GetSetting(section, count_key, "");
    const bool stored = store.HasSetting(section, count_key);
    const auto count = forms::ParseWholeNumber(text);
    const std::string most = std::to_string(Database::kSlots);
    if (stored && count && *count >= 0) {
        for (int n = 0; n < *count && n < Database::kSlots; ++n) {
            found.slots.push_back(n);
        }
        if (*count > Database::kSlots) {
            found.notice =
                Text(PESTERLY_TEXT("SettingsLayout",
                                   "The settings file counts %1 %2, but Pesterly holds at "
                                   "most %3: it has loaded the first %3."),
                     {std::to_string(*count), what, most});
        }
        return found;
    }
    int present = 0;
    for (int n = 0, last = -1; n <= INT16_MAX && n - last <= Database::kSlots; ++n) {
        if (std::any_of(prefixes.begin(), prefixes.end(), [&](std::string_view p) {
                return store.HasSetting(section, SlotKey(p, n));
            })) {
            last = n;
            ++present;
            if (found.slots.size() < static_cast<size_t>(Database::kSlots)) {
                found.slots.push_back(n);
            }
        }
    }
    if (present > 0) {
        const Text loaded =
            present > Database::kSlots
                ? Text(PESTERLY_TEXT("SettingsLayout", "the first %1, as many as it holds."),
                       {most})
                : Text(PESTERLY_TEXT("SettingsLayout", "them all."));
        found.notice =
            stored ? Text(PESTERLY_TEXT("SettingsLayout",
                                        "The settings file gives the number of %1 as \"%2\", which "
                                        "Pesterly cannot read, so Pesterly has counted them "
                                        "itself: it found %3 and has loaded %4"),
                          {what, text, std::to_string(present), loaded})
                   : Text(PESTERLY_TEXT("SettingsLayout",
                                        "The settings file does not say how many %1 it holds, so "
                                        "Pesterly has counted them itself: it found %2 and "
                                        "has loaded %3"),
                          {what, std::to_string(present), loaded});
    }
    return found;
}

DateValue ReadDate(SettingsStore& store, std::string_view key) {
    return forms::ParseGeneralDate(store.GetSetting(sections::kEvents, key, ""))
        .value_or(DateValue());
}

constexpr std::pair<MailMethod, std::string_view> kMethods[] = {{MailMethod::kSendmail, "Sendmail"},
                                                                {MailMethod::kSmtp, "SMTP"}};
constexpr std::pair<MailSecurity, std::string_view> kSecurities[] = {
    {MailSecurity::kStartTls, "STARTTLS"},
    {MailSecurity::kTls, "TLS"},
    {MailSecurity::kNone, "None"}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

template <typename Value, size_t N>
Value Named(const std::pair<Value, std::string_view> (&names)[N], std::string_view text,
            Value fallback) {
    const std::string_view wanted = forms::TrimBlanks(text);
    for (const auto& [value, name] : names) {
        if (SameIgnoringCase(name, wanted)) {
            return value;
        }
    }
    return fallback;
}

template <typename Value, size_t N>
std::string_view NameOf(const std::pair<Value, std::string_view> (&names)[N], Value value) {
    for (const auto& [known, name] : names) {
        if (known == value) {
            return name;
        }
    }
    return names[0].second;
}

MailServerSettings ReadMail(SettingsStore& store) {
    using sections::kMail;
    MailServerSettings mail;
    mail.method = Named(kMethods, store.GetSetting(kMail, kMailMethod, ""), mail.method);
    mail.host = store.GetSetting(kMail, kMailHost, "");
    mail.port = store.GetSetting(kMail, kMailPort, "");
    mail.security = Named(kSecurities, store.GetSetting(kMail, kMailSecurity, ""), mail.security);
    mail.user = store.GetSetting(kMail, kMailUser, "");
    mail.from = store.GetSetting(kMail, kMailFrom, "");
    return mail;
}

// The whole section at once, so that the values always belong together.
void WriteMail(SettingsStore& store, const MailServerSettings& mail) {
    using sections::kMail;
    store.SaveSetting(kMail, kMailMethod, NameOf(kMethods, mail.method));
    store.SaveSetting(kMail, kMailHost, forms::TrimBlanks(mail.host));
    store.SaveSetting(kMail, kMailPort, forms::TrimBlanks(mail.port));
    store.SaveSetting(kMail, kMailSecurity, NameOf(kSecurities, mail.security));
    store.SaveSetting(kMail, kMailUser, mail.user);
    store.SaveSetting(kMail, kMailFrom, forms::TrimBlanks(mail.from));
}

// Passes everything on to the store and remembers what each key it saves held before, so that
// a write whose commit failed can be taken back exactly, keys that were missing included.
class UndoableStore final : public SettingsStore {
  public:
    explicit UndoableStore(SettingsStore& store) : store_(store) {}

    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view default_value) override {
        return store_.GetSetting(section, key, default_value);
    }
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override {
        Remember(section, key);
        store_.SaveSetting(section, key, value);
    }
    bool HasSetting(std::string_view section, std::string_view key) const override {
        return store_.HasSetting(section, key);
    }
    void RemoveSetting(std::string_view section, std::string_view key) override {
        Remember(section, key);
        store_.RemoveSetting(section, key);
    }
    Result<void> Commit() override { return store_.Commit(); }
    Result<std::string> KeepRescueCopy() override { return store_.KeepRescueCopy(); }
    Result<std::string> KeepDamagedCopy() override { return store_.KeepDamagedCopy(); }

    void Undo() {
        for (auto earlier = before_.rbegin(); earlier != before_.rend(); ++earlier) {
            if (earlier->value) {
                store_.SaveSetting(earlier->section, earlier->key, *earlier->value);
            } else {
                store_.RemoveSetting(earlier->section, earlier->key);
            }
        }
        before_.clear();
    }

  private:
    struct Earlier {
        std::string section;
        std::string key;
        std::optional<std::string> value;
    };
    void Remember(std::string_view section, std::string_view key) {
        before_.push_back({std::string(section), std::string(key),
                           store_.HasSetting(section, key)
                               ? std::optional(store_.GetSetting(section, key, ""))
                               : std::nullopt});
    }

    SettingsStore& store_;
    std::vector<Earlier> before_;
};

std::string StoredText(std::string_view text) {
    return std::string(forms::TrimBlanks(text));
}
std::string StoredDate(DateValue value) {
    return StoredText(forms::GeneralDate(value));
}

}  // namespace

std::string SlotKey(std::string_view prefix, int slot) {
    return std::string(prefix) + forms::TrimmedNumber(slot);
}

std::optional<Text> LoadSettings(Database& db, SettingsStore& store) {
    using sections::kEvents;
    const SlotsToLoad events = FindSlots(store, kEvents, kEventCount,
                                         {kEventDate, kRepeat, kDesc, kDoneDate, kSendMail,
                                          kUseNagList, kSpecialEmail, kCategory, kEmailBody},
                                         {PESTERLY_TEXT("SettingsLayout", "events")});
    db.HappeningCount = static_cast<int16_t>(events.slots.size());
    for (size_t i = 0; i < events.slots.size(); ++i) {
        const int n = events.slots[i];
        Happening& h = db.Happenings[i];
        h.Repeat = forms::LeadingNumber(store.GetSetting(kEvents, SlotKey(kRepeat, n), "0"));
        h.DoneDate = ReadDate(store, SlotKey(kDoneDate, n));
        h.EventDate = ReadDate(store, SlotKey(kEventDate, n));
        h.Desc = store.GetSetting(kEvents, SlotKey(kDesc, n), "");
        h.SendMail = forms::ReadFlag(store.GetSetting(kEvents, SlotKey(kSendMail, n), "False"));
        h.UseNagList = forms::ReadFlag(store.GetSetting(kEvents, SlotKey(kUseNagList, n), "False"));
        h.SpecialEmail = store.GetSetting(kEvents, SlotKey(kSpecialEmail, n), " ");
        h.Category = forms::LeadingNumber(store.GetSetting(kEvents, SlotKey(kCategory, n), "0"));
        h.EmailBody = store.GetSetting(kEvents, SlotKey(kEmailBody, n), "");
    }
    const SlotsToLoad categories =
        FindSlots(store, sections::kCategories, kCategoryCount, {kCategoryName},
                  {PESTERLY_TEXT("SettingsLayout", "categories")});
    db.CategoryCount = static_cast<int16_t>(categories.slots.size());
    for (size_t i = 0; i < categories.slots.size(); ++i) {
        db.Categories[i] = store.GetSetting(sections::kCategories,
                                            SlotKey(kCategoryName, categories.slots[i]), "Error");
    }
    std::vector<Text> notices;
    for (const std::optional<Text>& notice : {events.notice, categories.notice}) {
        if (notice) {
            notices.push_back(*notice);
        }
    }
    if (notices.empty()) {
        return std::nullopt;
    }
    // What was not loaded stays in the file, since the program never writes past the table; the
    // copy keeps it where the user can see it, whatever happens to the file later.
    const auto copy = store.KeepDamagedCopy();
    notices.push_back(
        copy ? Text(PESTERLY_TEXT("SettingsLayout", "The file as it was is kept as %1."), {*copy})
             : Text(PESTERLY_TEXT("SettingsLayout",
                                  "Pesterly could not keep a copy of the file as it was: "
                                  "%1."),
                    {Reason(copy.error())}));
    return Text::Joined(std::move(notices), "\n\n");
}

Options ReadOptions(SettingsStore& store, DateValue today) {
    using sections::kOptions;
    Options options;
    const std::string check_date =
        store.GetSetting(kOptions, kCheckDate, forms::GeneralDate(today));
    options.CheckDate = forms::ParseGeneralDate(check_date).value_or(today).DatePart();
    const std::string check_time = store.GetSetting(kOptions, kCheckTime, kDefaultCheckTime);
    options.CheckTime = forms::ParseGeneralDate(check_time)
                            .value_or(*forms::ParseGeneralDate(kDefaultCheckTime))
                            .TimePart();
    options.StartAtLogin = !SameIgnoringCase(
        forms::TrimBlanks(store.GetSetting(kOptions, kStartAtLogin, "")), forms::Flag(false));
    options.CalendarFile = store.GetSetting(kOptions, kCalendarFile, "");
    options.Mail = ReadMail(store);
    return options;
}

void WriteOptions(SettingsStore& store, const Options& options) {
    using sections::kOptions;
    store.SaveSetting(kOptions, kCheckDate, StoredDate(options.CheckDate));
    store.SaveSetting(kOptions, kCheckTime, StoredDate(options.CheckTime));
    const Options stored = ReadOptions(store, options.CheckDate);
    if (stored.StartAtLogin != options.StartAtLogin) {
        store.SaveSetting(kOptions, kStartAtLogin, forms::Flag(options.StartAtLogin));
    }
    if (stored.CalendarFile != options.CalendarFile) {
        store.SaveSetting(kOptions, kCalendarFile, options.CalendarFile);
    }
    if (stored.Mail != options.Mail) {
        WriteMail(store, options.Mail);
    }
}

void LoadOptions(Database& db, SettingsStore& store, DateValue today) {
    db.options = ReadOptions(store, today);
}

Result<void> SaveOptions(SettingsStore& store, Options& held, const Options& wanted) {
    UndoableStore undoable(store);
    WriteOptions(undoable, wanted);
    Result<void> saved = store.Commit();
    if (!saved) {
        undoable.Undo();
    } else {
        held = wanted;
    }
    return saved;
}

Result<void> SaveSettings(const Database& db, SettingsStore& store) {
    using sections::kEvents;
    store.SaveSetting(kEvents, kEventCount, forms::PaddedNumber(db.HappeningCount));
    for (int n = 0; n < db.HappeningCount; ++n) {
        const Happening& h = db.Happenings[n];
        store.SaveSetting(kEvents, SlotKey(kEventDate, n), StoredDate(h.EventDate));
        store.SaveSetting(kEvents, SlotKey(kRepeat, n), forms::TrimmedNumber(h.Repeat));
        store.SaveSetting(kEvents, SlotKey(kDesc, n), StoredText(h.Desc));
        store.SaveSetting(kEvents, SlotKey(kDoneDate, n), StoredDate(h.DoneDate));
        store.SaveSetting(kEvents, SlotKey(kSendMail, n), forms::Flag(h.SendMail));
        store.SaveSetting(kEvents, SlotKey(kUseNagList, n), forms::Flag(h.UseNagList));
        store.SaveSetting(kEvents, SlotKey(kSpecialEmail, n), StoredText(h.SpecialEmail));
        store.SaveSetting(kEvents, SlotKey(kCategory, n), forms::TrimmedNumber(h.Category));
        store.SaveSetting(kEvents, SlotKey(kEmailBody, n), StoredText(h.EmailBody));
    }
    WriteOptions(store, db.options);
    store.SaveSetting(sections::kCategories, kCategoryCount, forms::PaddedNumber(db.CategoryCount));
    for (int n = 0; n < db.CategoryCount; ++n) {
        store.SaveSetting(sections::kCategories, SlotKey(kCategoryName, n),
                          StoredText(db.Categories[n]));
    }
    return store.Commit();
}

}  // namespace pesterly
