#pragma once

#include <QSettings>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

#include "store/SettingsStore.h"

namespace pesterly {

// The settings store as an INI file, one [section] per settings section. Section and key
// names are matched without regard to case, so a hand-edited "[events]" or "EsEmail0" finds
// the value the program saved as "[Events]" and "ESEmail0". The file is readable by its owner
// only (it holds mail addresses) and is replaced whole at every commit, so a crash while
// saving leaves either the old file or the new one.
class IniSettingsStore : public SettingsStore {
  public:
    explicit IniSettingsStore(const QString& path);

    // $XDG_CONFIG_HOME/Pesterly/Pesterly.ini, by default ~/.config/Pesterly/Pesterly.ini.
    static QString DefaultPath();

    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view default_value) override;
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override;
    MaybeError Commit() override;

    const QString& Path() const { return path_; }
    // What the user should know when the file had lines that could not be read: they are
    // read as well as possible, and the file as found is kept beside it.
    const std::optional<std::string>& ReadProblem() const { return read_problem_; }

  private:
    void IndexNames();

    QString path_;
    std::unique_ptr<QSettings> settings_;
    std::optional<std::string> read_problem_;
    struct Entry {
        QString name;  // as spelt in the file
        std::string value;
    };
    static std::string Lower(std::string text);
    static std::string LowerName(std::string_view section, std::string_view key);

    // Every value, by lower-case "section/key": reads never go back to QSettings.
    std::unordered_map<std::string, Entry> entries_;
    // Lower-case section to the spelling held in the file.
    std::unordered_map<std::string, QString> sections_;
};

}  // namespace pesterly
