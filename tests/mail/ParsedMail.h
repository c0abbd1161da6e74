#pragma once

#include <string>
#include <vector>

namespace pesterly::testing {

// A received message read back the way a mail reader would: decoded subject and text.
struct ParsedMail {
    bool ok = false;
    std::string subject;  // decoded
    std::string to;       // the To header, decoded
    std::string text;     // the body, transfer encoding undone, lines ending in LF
    std::string charset;
    std::string encoding;
    std::vector<std::string> header_names;
    std::string raw_headers;  // everything before the first empty line, as received

    bool HasHeader(const std::string& name) const;
};

ParsedMail ParseMail(const std::string& raw);

}  // namespace pesterly::testing
