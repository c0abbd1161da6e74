#pragma once

#include <QString>

#include "store/DateValue.h"
#include "store/Error.h"
#include "store/Happening.h"

namespace pesterly {

// Which events had their nag mail on which day, kept on disk beside the outbox, so that a
// review cut short (even killed) and asked again at the next start never mails an event twice
// in one day. An event is known by its description, date and repeat rule: these stay with it
// when a deletion moves the events below it up a slot.
class NagMailDiary {
  public:
    explicit NagMailDiary(QString path) : path_(std::move(path)) {}

    // $XDG_STATE_HOME/Pesterly/nag-mails-sent (default ~/.local/state).
    static QString DefaultPath();

    // Notes that the event's mail goes out today, before it is handed on; true when it was
    // noted today before, and nothing is written then. An error when the note cannot be read
    // or written.
    Result<bool> NoteMail(const Happening& event, DateValue today);

  private:
    QString path_;
};

}  // namespace pesterly
