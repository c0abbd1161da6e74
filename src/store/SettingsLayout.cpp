#include "store/SettingsLayout.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "store/TextForms.h"

namespace pesterly {
namespace {

using namespace keys;
constexpr std::string_view kDefaultCheckTime = "8:00:00AM";

// Which stored slots a table is loaded from, in order, and what the user should hear about it.
struct SlotsToLoad {
    std::vector<int> slots;
    std::string notice;
};

// A count the program wrote is read as it is: the slots past it stay hidden, since they are
// what deleting leaves behind. A count that is missing or not a number (a hand edit, a damaged
// file) would hide every slot, so the slots that hold any key are found and counted instead,
// gaps left out, up to a gap as long as the whole table.
SlotsToLoad FindSlots(SettingsStore& store, std::string_view section, std::string_view count_key,
                      std::initializer_list<std::string_view> prefixes, const std::string& what) {
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
            found.notice = "The settings file counts " + std::to_string(*count) + " " + what +
                           ", but Pesterly holds at most " + most + ": it has loaded the first " +
                           most + ".";
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
        found.notice = (stored ? "The settings file gives the number of " + what + " as \"" + text +
                                     "\", which Pesterly cannot read"
                               : "The settings file does not say how many " + what + " it holds") +
                       ", so Pesterly has counted them itself: it found " +
                       std::to_string(present) + " and has loaded " +
                       (present > Database::kSlots ? "the first " + most + ", as many as it holds."
                                                   : "them all.");
    }
    return found;
}

DateValue ReadDate(SettingsStore& store, std::string_view key) {
    return forms::ParseGeneralDate(store.GetSetting(sections::kEvents, key, ""))
        .value_or(DateValue());
}

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

std::optional<std::string> LoadSettings(Database& db, SettingsStore& store) {
    using sections::kEvents;
    const SlotsToLoad events = FindSlots(store, kEvents, kEventCount,
                                         {kEventDate, kRepeat, kDesc, kDoneDate, kSendMail,
                                          kUseNagList, kSpecialEmail, kCategory, kEmailBody},
                                         "events");
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
        FindSlots(store, sections::kCategories, kCategoryCount, {kCategoryName}, "categories");
    db.CategoryCount = static_cast<int16_t>(categories.slots.size());
    for (size_t i = 0; i < categories.slots.size(); ++i) {
        db.Categories[i] = store.GetSetting(sections::kCategories,
                                            SlotKey(kCategoryName, categories.slots[i]), "Error");
    }
    std::string notice = events.notice;
    notice += (notice.empty() || categories.notice.empty() ? "" : "\n\n") + categories.notice;
    if (notice.empty()) {
        return std::nullopt;
    }
    // What was not loaded stays in the file, since the program never writes past the table; the
    // copy keeps it where the user can see it, whatever happens to the file later.
    const auto copy = store.KeepDamagedCopy();
    if (const auto* kept = std::get_if<std::string>(&copy)) {
        return notice + "\n\nThe file as it was is kept as " + *kept + ".";
    }
    return notice + "\n\nPesterly could not keep a copy of the file as it was: " +
           std::get<Error>(copy).message + ".";
}

void LoadOptions(Database& db, SettingsStore& store, DateValue today) {
    const std::string check_date =
        store.GetSetting(sections::kOptions, kCheckDate, forms::GeneralDate(today));
    db.CheckDate = forms::ParseGeneralDate(check_date).value_or(today).DatePart();
    const std::string check_time =
        store.GetSetting(sections::kOptions, kCheckTime, kDefaultCheckTime);
    db.CheckTime = forms::ParseGeneralDate(check_time)
                       .value_or(*forms::ParseGeneralDate(kDefaultCheckTime))
                       .TimePart();
}

MaybeError SaveSettings(const Database& db, SettingsStore& store) {
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
    store.SaveSetting(sections::kOptions, kCheckDate, StoredDate(db.CheckDate));
    store.SaveSetting(sections::kOptions, kCheckTime, StoredDate(db.CheckTime));
    store.SaveSetting(sections::kCategories, kCategoryCount, forms::PaddedNumber(db.CategoryCount));
    for (int n = 0; n < db.CategoryCount; ++n) {
        store.SaveSetting(sections::kCategories, SlotKey(kCategoryName, n),
                          StoredText(db.Categories[n]));
    }
    return store.Commit();
}

}  // namespace pesterly
