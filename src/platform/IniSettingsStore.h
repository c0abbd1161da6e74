#pragma once

#include <QCoreApplication>
#include <QString>
#include <optional>
#include <string>

#include "store/IniText.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The settings store as an INI file, one [section] per settings section. Section and key
// names are matched without regard to case, so a hand-edited "[events]" or "EsEmail0" finds
// the value the program saved as "[Events]" and "ESEmail0". The file is readable by its owner
// only (it holds mail addresses) and is replaced whole at a commit that changes anything, so a
// crash while saving leaves either the old file or the new one.
//
// A file that exists but cannot be read (another user's, a pipe, a folder) is never written
// over: the session's values go to a file beside it, named as it with ".unsaved" added.
class IniSettingsStore : public SettingsStore {
    Q_DECLARE_TR_FUNCTIONS(IniSettingsStore)

  public:
    explicit IniSettingsStore(const QString& path);

    // $XDG_CONFIG_HOME/Pesterly/Pesterly.ini, by default ~/.config/Pesterly/Pesterly.ini.
    static QString DefaultPath();
    // $XDG_STATE_HOME/Pesterly, by default ~/.local/state/Pesterly: where a forced end that
    // could not save keeps its rescue copy.
    static QString StateFolder();
    // What the user should know about rescue copies that forced ends left in the state folder
    // since the last start, or nothing. Each copy is told about once.
    static std::optional<std::string> TakeRescueNotice(const QString& state_folder,
                                                       const QString& settings_path);

    std::string GetSetting(std::string_view section, std::string_view key,
                           std::string_view default_value) override;
    void SaveSetting(std::string_view section, std::string_view key,
                     std::string_view value) override;
    bool HasSetting(std::string_view section, std::string_view key) const override;
    void RemoveSetting(std::string_view section, std::string_view key) override;
    Result<void> Commit() override;
    Result<std::string> KeepRescueCopy() override;
    // Beside the file, named as it with ".damaged" added; made once a run.
    Result<std::string> KeepDamagedCopy() override;

    const QString& Path() const { return path_; }
    // Where a commit writes: Path(), or the ".unsaved" file when Path() could not be read.
    const QString& SavePath() const { return save_path_; }
    // What the user should know when the file could not be read, or had lines that could not
    // be read: said once, at start.
    const std::optional<std::string>& ReadProblem() const { return read_problem_; }

  private:
    void Load(const std::string& bytes);

    QString path_;
    QString save_path_;
    ini::Document doc_;
    bool changed_ = false;
    std::optional<std::string> read_problem_;
    std::string bytes_as_read_;
    std::optional<Result<std::string>> damaged_copy_;
};

}  // namespace pesterly
