#pragma once

#include <string>

namespace pesterly {

// Whether ~/.netrc may give libcurl a login for the host. The answer decides whether a
// password may cross the network, so it errs towards yes: every word of the file counts,
// inside a macro ("macdef") or a comment too, since readers differ in where those end. A word
// "default" in any case, or one naming the host, answers yes; names are compared in any case
// of letters and without a final dot, addresses by the address they stand for (so "::1",
// "[::1]" and "0:0::1" are one host, as are "127.0.0.1", "127.1" and "0x7f000001").
bool NetrcMayHoldLogin(const std::string& host);

}  // namespace pesterly
