#pragma once

#include <string>

namespace pesterly {

// Whether ~/.netrc has an entry that libcurl could take a login from for the host: a
// "machine" of that name in any case of letters, or "default". Macro definitions ("macdef"
// up to the next empty line) and comments are skipped as libcurl skips them. Where the file
// could be read two ways this answers yes, since the answer decides whether a password may
// cross the network.
bool NetrcMayHoldLogin(const std::string& host);

}  // namespace pesterly
