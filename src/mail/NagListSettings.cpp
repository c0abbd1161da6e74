#include "mail/NagListSettings.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "store/SettingsLayout.h"
#include "store/TextForms.h"

namespace pesterly {
namespace {

using namespace keys;

std::optional<std::string> ReadIfPresent(SettingsStore& store, std::string_view key) {
    if (!store.HasSetting(sections::kNagList, key)) {
        return std::nullopt;
    }
    return store.GetSetting(sections::kNagList, key, "");
}

}  // namespace

NagListSettings ReadNagList(SettingsStore& store) {
    const std::string count_text = store.GetSetting(sections::kNagList, kEmailCount, "0");
    const int count =
        std::clamp<int>(forms::ParseWholeNumber(count_text).value_or(0), 0, kNagListMostEntries);
    NagListSettings settings;
    for (int k = 0; k < count; ++k) {
        settings.entries.push_back(ReadIfPresent(store, SlotKey(kEmail, k)));
    }
    settings.use_to = forms::ReadFlag(store.GetSetting(sections::kNagList, kUseTo, forms::kTrue));
    settings.to_address = ReadIfPresent(store, kToAddress);
    return settings;
}

Result<void> SaveNagList(SettingsStore& store, const NagListSettings& settings) {
    std::vector<std::pair<std::string, std::string>> wanted = {
        {std::string(kEmailCount), std::to_string(settings.entries.size())},
        {std::string(kToAddress), settings.to_address.value_or("")},
        {std::string(kUseTo), std::string(forms::Flag(settings.use_to))},
    };
    for (size_t k = 0; k < settings.entries.size(); ++k) {
        wanted.emplace_back(SlotKey(kEmail, static_cast<int>(k)),
                            forms::TrimBlanks(settings.entries[k].value_or("")));
    }
    return SaveSectionOrRestore(store, sections::kNagList, wanted);
}

}  // namespace pesterly
