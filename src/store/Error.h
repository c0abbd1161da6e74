#pragma once

#include <optional>
#include <string>

namespace pesterly {

// A failure at the edge of the program (a file, the mail service), with a message that tells
// the user what went wrong and what to do about it.
struct Error {
    std::string message;
};

// Empty on success.
using MaybeError = std::optional<Error>;

}  // namespace pesterly
