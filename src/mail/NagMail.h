#pragma once

#include <string_view>

#include "mail/MailSession.h"
#include "store/Error.h"
#include "store/Happening.h"
#include "store/SettingsStore.h"

namespace pesterly {

// The visible To address of a mail whose real recipients are all blind copies, when the user
// never saved one. It names no mailbox, so nobody receives a copy through it.
inline constexpr std::string_view kUndisclosedRecipients = "undisclosed-recipients:;";

// Sends the reminder mail of one event: to its special address, and, when the event asks for
// it, to every address of the nag list, either all visible or as blind copies behind one To
// address. The nag list is read from the store at every call, so an edit applies to the next
// mail. Nothing is sent and the session is not touched when there is nobody to mail, or when
// the event wants the nag list and the list is empty. A session that was signed on is always
// signed off before returning, also on failure.
MaybeError SendNagMail(const Happening& event, SettingsStore& store, MailSession& session);

}  // namespace pesterly
