#pragma once

#include "store/Error.h"
#include "store/Happening.h"

namespace pesterly {

// Sends the nag mail of one event. The review hands over a record of its own, so a mail that
// goes out while the event editor is open never touches the record under edit. An error means
// the mail was not sent; a mail handed on may still fail later, and the sender then tells so.
class NagMailer {
  public:
    virtual ~NagMailer() = default;
    virtual Result<void> SendNagMail(const Happening& event) = 0;
};

}  // namespace pesterly
