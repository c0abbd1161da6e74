#pragma once

#include <optional>
#include <string_view>

#include "mail/MailDraft.h"
#include "mail/NagListSettings.h"
#include "store/Happening.h"

namespace pesterly {

// The visible To line of a mail whose real recipients are all blind copies, when the user
// saved no To address. It names no mailbox, so nobody receives a copy through it.
inline constexpr std::string_view kUndisclosedRecipients = "undisclosed-recipients:;";

// The reminder mail of one event, and every rule of who receives it: the event's special
// address and, when the event asks for it, each address of the nag list, either all in the
// To line or as blind copies behind the list's To address (which then receives a copy too).
// A list entry that was never stored, or holds only blanks, is left out: the mail goes only to
// addresses the user entered. Nothing when nobody is to be mailed, or when the event wants
// the nag list and the list is empty.
std::optional<MailDraft> NagMailDraft(const Happening& event, const NagListSettings& list);

}  // namespace pesterly
