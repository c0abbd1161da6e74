#pragma once

#include <QString>

#include "store/Error.h"

namespace pesterly {

// A message of the core in the user's language: its text translated under its context, each
// place filled with its filling, itself translated when it is a message.
QString Shown(const Text& text);
// An error's message translated when the error kept its parts, else as written.
QString Shown(const Error& error);

}  // namespace pesterly
