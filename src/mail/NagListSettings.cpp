#include "mail/NagListSettings.h"

#include <algorithm>

#include "store/SettingsLayout.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

constexpr std::string_view kEmailCount = "EmailCount";
constexpr std::string_view kEmail = "Email";
constexpr std::string_view kToAddress = "ToAddress";
constexpr std::string_view kUseTo = "UseTO";

}  // namespace

NagListSettings LoadNagListForEditor(SettingsStore& store) {
    const std::string count_text = store.GetSetting(sections::kNagList, kEmailCount, "0");
    const int count =
        std::clamp<int>(forms::ParseWholeNumber(count_text).value_or(0), 0, kNagListMostEntries);
    NagListSettings settings;
    for (int k = 0; k < count; ++k) {
        settings.entries.push_back(store.GetSetting(sections::kNagList, SlotKey(kEmail, k), "0"));
    }
    settings.use_to = forms::ReadFlag(store.GetSetting(sections::kNagList, kUseTo, forms::kTrue));
    settings.to_address = store.GetSetting(sections::kNagList, kToAddress, "");
    return settings;
}

MaybeError SaveNagList(SettingsStore& store, const NagListSettings& settings) {
    store.SaveSetting(sections::kNagList, kEmailCount, std::to_string(settings.entries.size()));
    for (size_t k = 0; k < settings.entries.size(); ++k) {
        store.SaveSetting(sections::kNagList, SlotKey(kEmail, static_cast<int>(k)),
                          forms::TrimBlanks(settings.entries[k]));
    }
    store.SaveSetting(sections::kNagList, kToAddress, settings.to_address);
    store.SaveSetting(sections::kNagList, kUseTo, forms::Flag(settings.use_to));
    return store.Commit();
}

}  // namespace pesterly
