#pragma once

#include <QString>

#include "store/Error.h"

namespace pesterly {

// The desktop entry that starts Pesterly at login, hidden in the notification area:
// $XDG_CONFIG_HOME/autostart/pesterly.desktop. The desktop's own session settings may switch
// such an entry off ("Hidden=true", or "X-GNOME-Autostart-enabled=false"); Pesterly then
// leaves it as the user set it.
class AutostartEntry {
  public:
    // `program` is the absolute path the entry starts.
    AutostartEntry(QString path, QString program);

    // $XDG_CONFIG_HOME/autostart/pesterly.desktop, by default under ~/.config.
    static QString DefaultPath();

    // Whether the entry is there but switched off in the desktop's session settings.
    bool SwitchedOffElsewhere() const;
    // Whether Pesterly starts at login as things stand: the option is on and the entry is
    // not switched off elsewhere.
    bool StartsAtLogin(bool start_at_login) const;
    // Writes the entry when the option is on and removes it when it is off. An entry switched
    // off elsewhere is left alone, unless `asked_now`: the user has just changed the box.
    Result<void> Follow(bool start_at_login, bool asked_now = false) const;

  private:
    QString EntryText() const;

    QString path_;
    QString program_;
};

}  // namespace pesterly
