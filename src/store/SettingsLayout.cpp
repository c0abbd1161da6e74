#include "store/SettingsLayout.h"

#include <algorithm>

#include "store/TextForms.h"

namespace pesterly {
namespace {

using namespace keys;
constexpr std::string_view kDefaultCheckTime = "8:00:00AM";

int16_t ReadCount(SettingsStore& store, std::string_view section, std::string_view key) {
    const auto count = forms::ParseWholeNumber(store.GetSetting(section, key, "0"));
    return static_cast<int16_t>(std::clamp<int>(count.value_or(0), 0, Database::kSlots));
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

void LoadSettings(Database& db, SettingsStore& store) {
    using sections::kEvents;
    db.HappeningCount = ReadCount(store, kEvents, kEventCount);
    for (int n = 0; n < db.HappeningCount; ++n) {
        Happening& h = db.Happenings[n];
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
    db.CategoryCount = ReadCount(store, sections::kCategories, kCategoryCount);
    for (int n = 0; n < db.CategoryCount; ++n) {
        db.Categories[n] =
            store.GetSetting(sections::kCategories, SlotKey(kCategoryName, n), "Error");
    }
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
