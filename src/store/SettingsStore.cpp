#include "store/SettingsStore.h"

#include <optional>

namespace pesterly {

Result<void> SaveSectionOrRestore(SettingsStore& store, std::string_view section,
                                  const std::vector<std::pair<std::string, std::string>>& values) {
    std::vector<std::optional<std::string>> before;
    for (const auto& [key, value] : values) {
        before.push_back(store.HasSetting(section, key)
                             ? std::optional(store.GetSetting(section, key, ""))
                             : std::nullopt);
        store.SaveSetting(section, key, value);
    }
    Result<void> saved = store.Commit();
    if (!saved) {
        for (size_t i = 0; i < values.size(); ++i) {
            if (before[i]) {
                store.SaveSetting(section, values[i].first, *before[i]);
            } else {
                store.RemoveSetting(section, values[i].first);
            }
        }
    }
    return saved;
}

}  // namespace pesterly
