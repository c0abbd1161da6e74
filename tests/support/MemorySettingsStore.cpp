#include "support/MemorySettingsStore.h"

#include <cctype>

namespace pesterly::testing {
namespace {

std::string Name(std::string_view section, std::string_view key) {
    std::string name = std::string(section) + "/" + std::string(key);
    for (char& c : name) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

}  // namespace

std::string MemorySettingsStore::GetSetting(std::string_view section, std::string_view key,
                                            std::string_view default_value) {
    const auto found = values_.find(Name(section, key));
    return found == values_.end() ? std::string(default_value) : found->second;
}

void MemorySettingsStore::SaveSetting(std::string_view section, std::string_view key,
                                      std::string_view value) {
    values_[Name(section, key)] = std::string(value);
}

MaybeError MemorySettingsStore::Commit() {
    if (!fail_next_commit.empty()) {
        Error error{fail_next_commit};
        fail_next_commit.clear();
        return error;
    }
    ++commits;
    return std::nullopt;
}

std::variant<std::string, Error> MemorySettingsStore::KeepRescueCopy() {
    rescues.push_back(values_);
    return "rescue copy " + std::to_string(rescues.size());
}

bool MemorySettingsStore::HasSetting(std::string_view section, std::string_view key) const {
    return values_.count(Name(section, key)) != 0;
}

void MemorySettingsStore::RemoveSetting(std::string_view section, std::string_view key) {
    values_.erase(Name(section, key));
}

}  // namespace pesterly::testing
