#pragma once

#include <QString>
#include <string>
#include <variant>

#include "store/Error.h"

namespace pesterly {

// Replaces the file with the bytes, all at once: a failure leaves any earlier file as it was.
MaybeError WriteWholeFile(const QString& path, const std::string& bytes);

// The whole file; an error for a file that cannot be read or is too large to be one of ours.
std::variant<std::string, Error> ReadWholeFile(const QString& path);

}  // namespace pesterly
